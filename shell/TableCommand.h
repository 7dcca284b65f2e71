#pragma once

#include <QUndoCommand>
#include <functional>
#include <optional>

#include "table/TableChange.h"

namespace zelkora {

// One undo step of the window: a change of the table and, when it came with a map switch, the
// switch, so that undoing it brings back the table and the map it belonged to. The step is
// recorded after the change was made; undo and redo hand it to the window to put back.
class TableCommand : public QUndoCommand {
  public:
    struct MapSwitch {
        int from;
        int to;
    };
    // Puts the table (and the map) as they were after the change (forward) or before it.
    using RestoreFn =
        std::function<void(const TableChange& change, std::optional<MapSwitch> map, bool forward)>;

    TableCommand(const QString& text, TableChange change, std::optional<MapSwitch> map,
                 RestoreFn restore);

    void undo() override;
    void redo() override;

    // Whether the step changed cells of the table, not only the map.
    bool changesTable() const { return !change_.isEmpty(); }

  private:
    TableChange change_;
    std::optional<MapSwitch> map_;
    RestoreFn restore_;
    bool done_ = true;  // pushed once made: the stack's first redo has nothing to do
};

}  // namespace zelkora
