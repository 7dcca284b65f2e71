#include "records/TooManyGroups.h"

#include "common/VisibleText.h"

namespace zelkora {

namespace {

QString messageOf(const QString& field, const QStringList& groups,
                  const std::vector<qint64>& counts, int freeColumns) {
    QString text = freeColumns == 0
                       ? QStringLiteral(
                             "В файле %1 групп по «%2», а свободных столбцов в таблице нет: "
                             "каждый из девяти типов маркеров уже держит точки.\n"
                             "Группы и число записей:")
                             .arg(groups.size())
                             .arg(visibleText(field))
                       : QStringLiteral(
                             "В файле %1 групп по «%2», а свободных столбцов в таблице %3 "
                             "(по одному на группу, не больше девяти типов маркеров).\n"
                             "Группы и число записей:")
                             .arg(groups.size())
                             .arg(visibleText(field))
                             .arg(freeColumns);
    for (qsizetype i = 0; i < groups.size(); ++i) {
        text += QStringLiteral("\n  %1 — %2").arg(visibleText(groups[i])).arg(counts[i]);
    }
    if (freeColumns == 0) {
        return text + QStringLiteral(
                          "\nОчистите столбцы таблицы или начните новую карту, "
                          "затем импортируйте файл снова.");
    }
    QStringList example = groups.mid(0, std::min<qsizetype>(3, freeColumns));
    text += QStringLiteral(
                "\nВыберите не больше %1: в командной строке параметром --groups "
                "\"%2\", в окне — в списке групп.")
                .arg(freeColumns)
                .arg(visibleText(example.join(QLatin1Char(';'))));
    return text;
}

}  // namespace

TooManyGroups::TooManyGroups(QString field, QStringList groups, std::vector<qint64> counts,
                             int freeColumns)
    : ZelkoraError(messageOf(field, groups, counts, freeColumns)),
      field_(std::move(field)),
      groups_(std::move(groups)),
      counts_(std::move(counts)),
      freeColumns_(freeColumns) {}

}  // namespace zelkora
