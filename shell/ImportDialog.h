#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "plot/MapTally.h"
#include "records/ImportPlan.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTreeWidget;
class QWidget;

namespace zelkora {

class PointTable;

// "Импорт точек": what a file of points holds and where its points will go, before anything is
// put into the table. It shows the first records as a table; how the file was read (format,
// encoding, separator); the coordinate columns and the grouping column as choices, the columns
// found chosen; the groups with their counts and marker types, to check which to take (no more
// than the free columns); the map for the points, with how many fall on each map; whether to
// leave out the points off that map; and the zelkora-cli import command that does the same.
// Every change of a column reads the file anew. A file whose header names no coordinate columns
// says so and waits for them to be chosen.
class ImportDialog : public QDialog {
  public:
    // What the dialog works on.
    struct Source {
        QString fileName;
        QByteArray bytes;
        ImportPlan plan;  // the file read with nothing chosen
        const PointTable* table = nullptr;
        int column = 0;  // the marker type chosen in the window: ungrouped points go there
        int map = 1;     // the map shown
        bool tableHoldsPoints = false;  // when it holds none, the map most points fall on is chosen
        MapPictures pictures;
        bool hiRes = false;
        QString tableFile;  // for the command line; empty for a table never saved
    };

    ImportDialog(Source source, QWidget* parent = nullptr);

    // The plan as last read, and the user's choices for it (with the check of the map chosen).
    const ImportPlan& plan() const { return plan_; }
    ImportChoices choices() const;
    int chosenMap() const;
    // Whether the choices make an import: the file read, at least one group taken, no more
    // than fit. "Импортировать" is enabled exactly then.
    bool canImport() const;

    // The words after "zelkora-cli" that import the same points into the table's file, and
    // the command line as the dialog shows it, quoted for a POSIX shell.
    QStringList commandWords() const;
    QString commandLine() const;

    // The name the command line gives a table that has no file yet.
    static const QString kUnsavedTable;

    // Controls.
    QLabel* lbFormat;  // how the file was read
    QTableWidget* twSample;
    QRadioButton* rbPair;  // latitude and longitude in two columns
    QComboBox* cbLat;
    QComboBox* cbLon;
    QRadioButton* rbText;  // one column of coordinate text
    QComboBox* cbText;
    QComboBox* cbGroup;   // "без групп", then the columns
    QComboBox* cbColumn;  // where the points of an ungrouped file go
    QTreeWidget* twGroups;
    QLabel* lbGroups;  // how many groups are checked of how many fit
    QComboBox* cbMap;
    QRadioButton* rbDrop;
    QRadioButton* rbKeep;
    QLabel* lbMessage;  // what stops the import, in red; empty when nothing does
    QLineEdit* edCommand;
    QPushButton* bCopy;
    QPushButton* bImport;
    QPushButton* bCancel;

  private:
    void buildLayout();
    void fillColumns();
    ReadOptions optionsFromControls() const;
    void replan();
    void fillSample();
    void fillGroups();
    // Checks the groups as they best fit the table (unless the user has checked some), and
    // shows where each goes.
    void updateGroups();
    void refresh();
    QStringList checkedGroups() const;
    bool allGroupsChecked() const;
    // The points off the map chosen when they are to be left out, as flags over the plan's
    // points; empty when they are kept.
    std::vector<bool> leftOut() const;
    // The points that would go in or be left out off the map, as flags over the plan's points.
    std::vector<bool> takenPoints() const;
    MapTally tally() const;
    bool anyPicture() const;

    Source source_;
    ImportPlan plan_;
    QString error_;  // why the file cannot be read with the columns chosen
    // For each point of the plan, whether it falls on each map's picture.
    std::vector<std::array<bool, kMapCount>> onMap_;
    int groupLimit_ = 0;    // how many groups fit
    int placeable_ = 0;     // groups with points to put in
    GroupColumns columns_;  // where the groups checked go
    bool groupsTouched_ = false;
    bool mapTouched_ = false;
    bool filling_ = false;
    QButtonGroup* coordinateGroup_;
    QWidget* columnsBox_;
    QLabel* columnLabel_;
};

}  // namespace zelkora
