#include "plot/PictureBounds.h"

#include <QFileInfo>
#include <QImageReader>

#include "common/VisibleText.h"
#include "common/ZelkoraError.h"
#include "mapimage/DataPaths.h"

namespace zelkora {

PictureBounds PictureBounds::ofMap(const QString& dataDir, int map, bool hiRes) {
    const QString path = baseImagePath(dataDir, kMapCaptions.value(map), hiRes);
    if (!QFileInfo(path).isFile()) {
        throw ZelkoraError(
            QStringLiteral("Нет основы карты: файл «%1» не найден").arg(visibleText(path)));
    }
    QImageReader reader(path);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty()) {
        throw ZelkoraError(QStringLiteral("Файл «%1» не читается как рисунок: %2")
                               .arg(visibleText(path), reader.errorString()));
    }
    return PictureBounds(parForMap(map), hiRes, size.width(), size.height());
}

}  // namespace zelkora
