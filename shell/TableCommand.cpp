#include "shell/TableCommand.h"

#include <utility>

namespace zelkora {

TableCommand::TableCommand(const QString& text, TableChange change, std::optional<MapSwitch> map,
                           RestoreFn restore)
    : QUndoCommand(text), change_(std::move(change)), map_(map), restore_(std::move(restore)) {}

void TableCommand::undo() {
    restore_(change_, map_, false);
    done_ = false;
}

void TableCommand::redo() {
    if (!std::exchange(done_, true)) {
        restore_(change_, map_, true);
    }
}

}  // namespace zelkora
