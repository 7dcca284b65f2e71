#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

#include "shell/FileDialogs.h"
#include "shell/ReportBox.h"

class QAction;
class QMimeData;

namespace zelkora {

class ImportDialog;
class PointFilesHost;

// The window's way in and out for files of points (CSV, TSV, GBIF, GPX, KML, GeoJSON, lines of
// coordinates): files dropped on the window or named on its command line, and the table's
// context menu entries "Импорт точек из файла..." and "Экспорт точек в файл...". Every file of
// points opens the import dialog (ImportDialog), where the user sees how it reads and chooses its
// columns, groups, map and what becomes of the points off the map; then it goes into the table
// as one undo step, with the map switched in the same step when another was chosen, and the
// report box says how it was read, where each group went, every record that gave no point or
// fell off the map, and which map the points were put on or would rather be on.
class OccurrenceFiles : public QObject {
  public:
    // The dialogs, replaced by tests; empty members mean the real ones. importDialog is given
    // the dialog, ready and not shown, and answers whether to import as it then stands.
    struct Hooks {
        std::function<QString()> importFileName;  // empty: cancelled
        std::function<std::optional<PointFileTarget>()> exportTarget;
        std::function<bool(ImportDialog& dialog)> importDialog;
    };

    // Adds the menu entries to the host's table and takes the files dropped on its window.
    explicit OccurrenceFiles(PointFilesHost& host);

    void setHooks(Hooks hooks) { hooks_ = std::move(hooks); }

    // Whether the window takes the file: a table (".points") or a file of points, by its
    // extension.
    static bool isTableFile(const QString& fileName);
    static bool isPointsFile(const QString& fileName);

    // Files dropped on the window or named on its command line. Files of points are imported
    // one after the other, each through its dialog and as its own undo step, each file's error
    // in its own error box; any other file is a table, which opens alone as "Открыть таблицу"
    // opens it.
    void openFiles(const QStringList& fileNames);

    QAction* acImport;
    QAction* acExport;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The local files of a drag that the window takes, or nothing when it takes not all.
    static std::optional<QStringList> droppedFiles(const QMimeData* data);

    void importClick();
    void exportClick();
    // Imports one file and adds what the report box says of it to content.
    void importFile(const QString& fileName, ReportBox::Content& content);

    PointFilesHost& host_;
    Hooks hooks_;
};

}  // namespace zelkora
