#pragma once

#include <QDialog>
#include <QStringList>
#include <optional>

class QLabel;
class QListWidget;
class QPushButton;

namespace zelkora {

class TooManyGroups;

// The choice of groups when a file names more of them than the table has free columns: each
// group with its count of records, a check box before it. At most as many as there are free
// columns can be checked (the boxes of the others are disabled once that many are); at first
// the groups with the most records are, as many as fit. The import runs on the groups checked,
// in the file's order.
class GroupChoiceDialog : public QDialog {
  public:
    GroupChoiceDialog(QWidget* parent, const TooManyGroups& groups);

    // The dialog, run until the user closes it: the groups chosen, or nothing when cancelled.
    static std::optional<QStringList> ask(QWidget* parent, const TooManyGroups& groups);

    QStringList chosen() const;
    QListWidget* list() const { return list_; }
    QPushButton* okButton() const { return ok_; }

  private:
    void refresh();

    int limit_;
    QStringList groups_;
    QListWidget* list_;
    QLabel* count_;
    QPushButton* ok_;
};

}  // namespace zelkora
