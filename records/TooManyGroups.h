#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "common/ZelkoraError.h"

namespace zelkora {

// A file names more groups than the table has free columns for. It carries the groups with their
// counts, so the window can offer a choice; its message lists them and says how to choose.
class TooManyGroups : public ZelkoraError {
  public:
    TooManyGroups(QString field, QStringList groups, std::vector<qint64> counts, int freeColumns);

    const QString& field() const { return field_; }
    const QStringList& groups() const { return groups_; }
    const std::vector<qint64>& counts() const { return counts_; }
    int freeColumns() const { return freeColumns_; }

  private:
    QString field_;
    QStringList groups_;
    std::vector<qint64> counts_;
    int freeColumns_;
};

}  // namespace zelkora
