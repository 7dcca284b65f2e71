#pragma once

#include <QString>
#include <optional>

#include "shell/PictureTarget.h"

class QWidget;

namespace zelkora {

// The file dialogs of the window. Each returns nothing (or an empty name) when cancelled.
// No dialog asks before a file is replaced.
class FileDialogs {
  public:
    // Save dialog for a table file: filter "*.points", "points" added to a bare name.
    static QString saveTableName(QWidget* parent);
    // Open dialog for a table file: filter "*.points".
    static QString openTableName(QWidget* parent);
    // Save dialog for the picture, opened with the name and file type of the last one. A bare
    // name gets the extension of the chosen type.
    static std::optional<PictureTarget> savePictureName(QWidget* parent, const PictureTarget& last);
};

}  // namespace zelkora
