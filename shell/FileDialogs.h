#pragma once

#include <QString>
#include <optional>

#include "shell/FigureTarget.h"
#include "shell/PictureTarget.h"

class QWidget;

namespace zelkora {

// A file to write the table's points to: its name and the format (a name of
// pointFileFormatNames) that its extension names, else the chosen file type's.
struct PointFileTarget {
    QString fileName;
    QString format;
};

// The file dialogs of the window. Each returns nothing (or an empty name) when cancelled.
// Every save dialog asks before it replaces a file that is there already.
class FileDialogs {
  public:
    // Save dialog for a table file: filter "*.points", "points" added to a bare name.
    static QString saveTableName(QWidget* parent);
    // Open dialog for a table file: filter "*.points".
    static QString openTableName(QWidget* parent);
    // Save dialog for the picture, opened with the name and file type of the last one. A bare
    // name gets the extension of the chosen type.
    static std::optional<PictureTarget> savePictureName(QWidget* parent, const PictureTarget& last);
    // Save dialog for a figure (TIFF, PNG, JPEG, PDF, SVG), opened with the name and the type of
    // the last one. A bare name gets the extension of the chosen type; a file that is there
    // already is replaced only when the user says so.
    static std::optional<FigureTarget> saveFigureName(QWidget* parent, const FigureTarget& last);
    // The extension the figure's save dialog gives a bare name of a format.
    static QString figureSuffix(FigureFormat format);
    // Open dialog for a file of points to import: the extensions the import reads, or any file.
    static QString importPointsName(QWidget* parent);
    // Save dialog for the table's points: CSV, GeoJSON, KML or GPX. A bare name gets the
    // extension of the chosen type; an existing file is replaced only when the user says so.
    static std::optional<PointFileTarget> exportPointsName(QWidget* parent);
    // Asks whether a file written beside the one chosen in a save dialog (a figure's key) may
    // replace the file of that name that is there already; "Нет" is the default.
    static bool replaceBesideFile(QWidget* parent, const QString& fileName);
};

}  // namespace zelkora
