#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "plot/MapTally.h"

class QAction;
class QWidget;

namespace zelkora {

class PointTable;

// What the window lends to files of points coming in and going out (OccurrenceFiles), and no
// more: its table and the marker type chosen, its map and the maps' pictures, the one way the
// table changes, its error boundary, its table menu and the actions its report box shares.
class PointFilesHost {
  public:
    virtual ~PointFilesHost() = default;

    // The window that dialogs and the report box stand over, and that files are dropped on.
    virtual QWidget* hostWidget() = 0;
    virtual const PointTable& hostTable() const = 0;
    // The column of the marker type chosen under "Тип точек".
    virtual int markerColumn() const = 0;
    virtual int currentMap() const = 0;
    virtual bool hiRes() const = 0;
    // The picture of each map at the resolution in force, to tell where points fall.
    virtual MapPictures mapPictures() const = 0;
    // The table's file, last opened or saved; empty for none.
    virtual QString tableFileName() const = 0;

    // Changes the table as one undo step, with the map switched to map in the same step when
    // it is set and another.
    virtual void changeTable(const QString& text, const std::function<void(PointTable&)>& change,
                             std::optional<int> map) = 0;
    // Runs a handler through the window's error boundary.
    virtual void handle(const std::function<void()>& handler) = 0;
    // Opens tables named on the command line or dropped, as "Открыть таблицу" does.
    virtual void openTables(const QStringList& fileNames) = 0;
    // Adds an entry to the table's context menu; its handler runs through the error boundary.
    virtual QAction* addTableAction(const QString& text, std::function<void()> handler) = 0;
    // The window's actions that work in the report box too (undo, redo).
    virtual QList<QAction*> reportActions() const = 0;
};

}  // namespace zelkora
