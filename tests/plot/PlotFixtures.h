#pragma once

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include "mapimage/DataPaths.h"
#include "mapimage/TPngImage.h"
#include "tests/support/TestImages.h"

namespace zelkora {

// A data folder of the program's layout with only the icons the test writes: <dir>/icons/N.png.
class IconFolder {
  public:
    IconFolder() { QDir().mkpath(QFileInfo(iconFile(0)).path()); }

    // dataDir as the core takes it, with a trailing "/".
    QString dataDir() const { return dir_.path() + QLatin1Char('/'); }
    QString iconFile(int type) const { return iconPath(dataDir(), type); }
    void write(int type, const TPngImage& icon) const { icon.SaveToFile(iconFile(type)); }

  private:
    QTemporaryDir dir_;
};

}  // namespace zelkora
