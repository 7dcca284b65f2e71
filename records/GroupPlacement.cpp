#include "records/GroupPlacement.h"

#include <algorithm>
#include <optional>

#include "common/VisibleText.h"
#include "common/ZelkoraError.h"
#include "records/ColumnRoles.h"
#include "table/CoordFormat.h"
#include "table/HeaderRow.h"
#include "table/PointInsert.h"
#include "table/PointTable.h"
#include "table/TableFile.h"

namespace zelkora {

namespace {

bool holdsPoints(const PointTable& table, int column) {
    for (int row = 1; row < table.RowCount(); ++row) {
        if (!table.cell(column, row).isEmpty()) {
            return true;
        }
    }
    return false;
}

// The groups taken, as a flag per group of the file.
std::vector<bool> chosenGroups(const OccurrenceSet& set, const QStringList& chosen) {
    std::vector<bool> taken(static_cast<std::size_t>(set.groups.size()), chosen.isEmpty());
    for (const QString& name : chosen) {
        const qsizetype at = set.groups.indexOf(name.simplified());
        if (at < 0) {
            throw ZelkoraError(QStringLiteral("Группы «%1» в файле нет. Есть: %2")
                                   .arg(visibleText(name), quotedNames(set.groups)));
        }
        taken[static_cast<std::size_t>(at)] = true;
    }
    return taken;
}

GroupColumns columnsOfTaken(const PointTable& table, const OccurrenceSet& set,
                            const std::vector<bool>& taken) {
    const int usable = std::min(table.ColCount(), static_cast<int>(kMarkerTypeNames.size()));
    std::vector<bool> free(static_cast<std::size_t>(usable));
    GroupColumns result;
    for (int c = 0; c < usable; ++c) {
        free[static_cast<std::size_t>(c)] = !holdsPoints(table, c);
        // Columns of the table's own groups count as places for them.
        result.freeColumns += free[static_cast<std::size_t>(c)] ? 1 : 0;
    }
    std::vector<int> marker(static_cast<std::size_t>(set.groups.size()), -1);
    for (const Occurrence& o : set.points) {
        if (o.group >= 0 && marker[static_cast<std::size_t>(o.group)] < 0) {
            marker[static_cast<std::size_t>(o.group)] = o.marker;
        }
    }

    const auto groupCount = static_cast<std::size_t>(set.groups.size());
    std::vector<int>& column = result.columns;
    column.assign(groupCount, -1);
    std::vector<bool> claimed(static_cast<std::size_t>(usable), false);
    result.own.assign(groupCount, false);
    const auto claim = [&](std::size_t g, int c) {
        column[g] = c;
        claimed[static_cast<std::size_t>(c)] = true;
    };
    // A column headed by the group's name, then the column the records name.
    for (std::size_t g = 0; g < groupCount; ++g) {
        for (int c = 0; taken[g] && c < usable && column[g] < 0; ++c) {
            if (!claimed[static_cast<std::size_t>(c)] &&
                table.cell(c, 0).simplified() == set.groups[static_cast<qsizetype>(g)]) {
                claim(g, c);
                result.own[g] = true;
            }
        }
    }
    for (std::size_t g = 0; g < groupCount; ++g) {
        const int m = marker[g];
        if (taken[g] && column[g] < 0 && m >= 0 && m < usable &&
            !claimed[static_cast<std::size_t>(m)] && free[static_cast<std::size_t>(m)]) {
            claim(g, m);
        }
    }
    // Every other group takes the next free column, while there is one.
    int next = 0;
    for (std::size_t g = 0; g < groupCount; ++g) {
        if (!taken[g] || column[g] >= 0) {
            continue;
        }
        while (next < usable &&
               (claimed[static_cast<std::size_t>(next)] || !free[static_cast<std::size_t>(next)])) {
            ++next;
        }
        if (next == usable) {
            result.missing = true;
            continue;
        }
        claim(g, next);
    }
    return result;
}

// By group: whether every point of it is left out.
std::vector<bool> emptiedGroups(const OccurrenceSet& set, const std::vector<bool>& leftOut) {
    std::vector<bool> emptied(static_cast<std::size_t>(set.groups.size()), false);
    if (leftOut.empty()) {
        return emptied;
    }
    std::vector<bool> kept(emptied.size(), false);
    std::vector<bool> any(emptied.size(), false);
    for (std::size_t i = 0; i < set.points.size(); ++i) {
        const int g = set.points[i].group;
        if (g >= 0) {
            any[static_cast<std::size_t>(g)] = true;
            if (i >= leftOut.size() || !leftOut[i]) {
                kept[static_cast<std::size_t>(g)] = true;
            }
        }
    }
    for (std::size_t g = 0; g < emptied.size(); ++g) {
        emptied[g] = any[g] && !kept[g];
    }
    return emptied;
}

// The groups taken and not emptied find their columns.
GroupColumns columnsOf(const PointTable& table, const OccurrenceSet& set, std::vector<bool> taken,
                       const std::vector<bool>& leftOut) {
    const std::vector<bool> emptied = emptiedGroups(set, leftOut);
    for (std::size_t g = 0; g < taken.size(); ++g) {
        taken[g] = taken[g] && !emptied[g];
    }
    GroupColumns result = columnsOfTaken(table, set, taken);
    result.emptied = emptied;
    return result;
}

GroupChoice choiceOf(const OccurrenceSet& set, const std::vector<bool>& taken, int freeColumns) {
    GroupChoice choice{set.groupField, {}, {}, freeColumns};
    for (std::size_t g = 0; g < taken.size(); ++g) {
        if (taken[g]) {
            choice.groups << set.groups[static_cast<qsizetype>(g)];
            choice.counts.push_back(set.groupCounts[g]);
        }
    }
    return choice;
}

}  // namespace

GroupColumns groupColumns(const PointTable& table, const OccurrenceSet& set,
                          const QStringList& chosen, const std::vector<bool>& leftOut) {
    return columnsOf(table, set, chosenGroups(set, chosen), leftOut);
}

std::optional<GroupChoice> groupChoiceNeeded(const PointTable& table, const OccurrenceSet& set,
                                             const std::vector<bool>& leftOut) {
    if (set.groupField.isEmpty()) {
        return std::nullopt;
    }
    const std::vector<bool> all(static_cast<std::size_t>(set.groups.size()), true);
    const GroupColumns found = columnsOf(table, set, all, leftOut);
    if (!found.missing) {
        return std::nullopt;
    }
    std::vector<bool> placeable = all;
    for (std::size_t g = 0; g < placeable.size(); ++g) {
        placeable[g] = !found.emptied[g];
    }
    return choiceOf(set, placeable, found.freeColumns);
}

QString tooManyGroupsMessage(const GroupChoice& choice) {
    const QString field = visibleText(choice.field);
    QString text = choice.freeColumns == 0
                       ? QStringLiteral(
                             "В файле %1 групп по «%2», а свободных столбцов в таблице нет: "
                             "каждый из девяти типов маркеров уже держит точки.\n"
                             "Группы и число записей:")
                             .arg(choice.groups.size())
                             .arg(field)
                       : QStringLiteral(
                             "В файле %1 групп по «%2», а свободных столбцов в таблице %3 "
                             "(по одному на группу, не больше девяти типов маркеров).\n"
                             "Группы и число записей:")
                             .arg(choice.groups.size())
                             .arg(field)
                             .arg(choice.freeColumns);
    for (qsizetype i = 0; i < choice.groups.size(); ++i) {
        text += QStringLiteral("\n  %1 — %2")
                    .arg(visibleText(choice.groups[i]))
                    .arg(choice.counts[static_cast<std::size_t>(i)]);
    }
    if (choice.freeColumns == 0) {
        return text + QStringLiteral(
                          "\nОчистите столбцы таблицы или начните новую карту, "
                          "затем импортируйте файл снова.");
    }
    const QStringList example = choice.groups.mid(0, std::min<qsizetype>(3, choice.freeColumns));
    return text + QStringLiteral("\nВыберите не больше %1 параметром --groups \"%2\".")
                      .arg(choice.freeColumns)
                      .arg(visibleText(example.join(QLatin1Char(';'))));
}

Placement placeOccurrences(PointTable& table, const OccurrenceSet& set,
                           const PlacementOptions& options) {
    const bool grouped = !set.groupField.isEmpty();
    std::vector<int> columnOfGroup;
    std::vector<bool> taken;
    if (grouped) {
        taken = chosenGroups(set, options.chosenGroups);
        // A group whose every point is left out takes no column.
        const GroupColumns found = columnsOf(table, set, taken, options.leftOut);
        if (found.missing) {
            std::vector<bool> placeable = taken;
            for (std::size_t g = 0; g < placeable.size(); ++g) {
                placeable[g] = placeable[g] && !found.emptied[g];
            }
            throw ZelkoraError(tooManyGroupsMessage(choiceOf(set, placeable, found.freeColumns)));
        }
        columnOfGroup = found.columns;
    } else if (options.column < 0 || options.column >= table.ColCount()) {
        throw ZelkoraError(QStringLiteral("Точки нельзя вставить в столбец %1: номера столбцов "
                                          "этой таблицы — от 0 до %2")
                               .arg(options.column)
                               .arg(table.ColCount() - 1));
    }

    // Each column's points, in file order, go below its last filled cell, passing over cells
    // that hold text (the last row, which that search never looks at, may).
    const int cols = table.ColCount();
    std::vector<int> nextRow(static_cast<std::size_t>(cols), -1);
    Placement placement;
    placement.points.reserve(set.points.size());
    int rows = table.RowCount();
    qint64 notTaken = 0;
    qint64 noColumn = 0;
    std::vector<bool> unnamed(static_cast<std::size_t>(cols), false);
    for (std::size_t index = 0; index < set.points.size(); ++index) {
        const Occurrence& o = set.points[index];
        if (index < options.leftOut.size() && options.leftOut[index]) {
            continue;
        }
        int column = options.column;
        if (grouped && o.group < 0) {
            // A point without a group that names its marker type keeps to that column.
            if (o.marker < 0 || o.marker >= cols) {
                ++noColumn;
                continue;
            }
            column = o.marker;
            unnamed[static_cast<std::size_t>(column)] = true;
        } else if (grouped) {
            if (!taken[static_cast<std::size_t>(o.group)]) {
                ++notTaken;
                continue;
            }
            column = columnOfGroup[static_cast<std::size_t>(o.group)];
        }
        int& row = nextRow[static_cast<std::size_t>(column)];
        if (row < 0) {
            row = lastFilledRow(table, column) + 1;
        }
        while (row < table.RowCount() && !table.cell(column, row).isEmpty()) {
            ++row;
        }
        placement.points.push_back({index, o.number, column, row, o.point});
        rows = std::max(rows, row + 1);
        ++row;
    }
    if (rows > kMaxTableRows || static_cast<std::int64_t>(rows) * cols > kMaxTableCells) {
        throw ZelkoraError(QStringLiteral("Точек слишком много для таблицы: понадобилось бы %1 "
                                          "строк, а файл таблицы держит не больше %2 строк и %3 "
                                          "ячеек")
                               .arg(rows)
                               .arg(kMaxTableRows)
                               .arg(kMaxTableCells));
    }

    // The new table in one step: a view of it is reset once, not told of every cell.
    std::vector<QString> cells(static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows));
    const auto at = [&](int c, int r) {
        return static_cast<std::size_t>(c) * static_cast<std::size_t>(rows) +
               static_cast<std::size_t>(r);
    };
    for (int c = 0; c < cols; ++c) {
        for (int r = 0; r < table.RowCount(); ++r) {
            cells[at(c, r)] = table.cell(c, r);
        }
    }
    for (const PlacedPoint& p : placement.points) {
        cells[at(p.column, p.row)] = formatPointCell(p.point.lat, p.point.lon);
    }
    std::vector<qint64> perColumn(static_cast<std::size_t>(cols), 0);
    for (const PlacedPoint& p : placement.points) {
        ++perColumn[static_cast<std::size_t>(p.column)];
    }
    if (grouped) {
        for (std::size_t g = 0; g < columnOfGroup.size(); ++g) {
            const int c = columnOfGroup[g];
            if (c < 0) {
                continue;
            }
            const QString& name = set.groups[static_cast<qsizetype>(g)];
            if (cells[at(c, 0)].simplified() != name) {
                cells[at(c, 0)] = name;
            }
            placement.columns.push_back({c, name, perColumn[static_cast<std::size_t>(c)]});
            unnamed[static_cast<std::size_t>(c)] = false;
        }
        // A column the file names by its marker type alone had no header; one that held no
        // points takes that over, as a group's column takes its name.
        for (int c = 0; c < cols; ++c) {
            if (unnamed[static_cast<std::size_t>(c)]) {
                if (!holdsPoints(table, c)) {
                    cells[at(c, 0)].clear();
                }
                placement.columns.push_back(
                    {c, cells[at(c, 0)], perColumn[static_cast<std::size_t>(c)]});
            }
        }
    } else if (!placement.points.empty()) {
        placement.columns.push_back({options.column, cells[at(options.column, 0)],
                                     perColumn[static_cast<std::size_t>(options.column)]});
    }
    if (notTaken > 0) {
        placement.notes
            << QStringLiteral("Точки групп, которых нет в выборе, не взяты: %1").arg(notTaken);
    }
    if (noColumn > 0) {
        placement.notes << QStringLiteral(
                               "Точки без группы, чьего столбца (типа маркера) в "
                               "таблице нет, не взяты: %1")
                               .arg(noColumn);
    }
    table.replaceAll(cols, rows, std::move(cells));
    return placement;
}

}  // namespace zelkora
