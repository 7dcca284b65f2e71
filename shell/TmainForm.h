#pragma once

#include <QElapsedTimer>
#include <QFont>
#include <QKeySequence>
#include <QList>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <future>
#include <memory>
#include <optional>

#include "common/YieldFn.h"
#include "mapimage/MapAssembly.h"
#include "mapimage/TPngImage.h"
#include "plot/Tpoints.h"
#include "projection/Tpar.h"
#include "shell/PictureTarget.h"
#include "shell/PointFilesHost.h"
#include "shell/TableCommand.h"
#include "table/ImportReport.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTimer;
class QUndoStack;

namespace zelkora {

class FigureMap;
class OccurrenceFiles;
class PictureView;
class PointTable;
class RadioGroup;
class StringGrid;
class WrapCheckBox;

// The main window. It holds every control of the layout under its name, the program-wide state
// and all event handlers; the handlers only wire the core. Every handler runs through one error
// boundary, which shows a failure in an error box and lets the window go on. Every change of the
// table is one step on the undo stack. Closing the window with a changed table asks whether to
// save it; the map, the layers, the high-resolution maps, the marker size and red markers are
// remembered between runs (WindowSettings).
class TmainForm : public QWidget, private PointFilesHost {
  public:
    // The answers to "Сохранить изменения в таблице?".
    enum class SaveAnswer { Save, Discard, Cancel };

    // What the window needs from outside. Empty members mean the data folders beside the
    // program, the real file dialogs, message boxes and error box; tests put in their own.
    struct Hooks {
        QString dataDir;  // ends in "/"
        std::function<void(const QString& message)> errorBox;
        std::function<SaveAnswer()> askSaveChanges;
        std::function<QString()> saveTableName;  // empty: cancelled
        std::function<QString()> openTableName;  // empty: cancelled
        std::function<std::optional<PictureTarget>(const PictureTarget& last)> savePictureName;
    };

    static constexpr int kClientWidth = 1155;
    static constexpr int kClientHeight = 821;

    // Builds the layout, then runs FormCreate: the window is ready to show.
    explicit TmainForm(Hooks hooks = {});
    ~TmainForm() override;

    // Controls on the window.
    PictureView* Image1;
    QCheckBox* ch1;
    QCheckBox* ch2;
    QCheckBox* ch3;
    QCheckBox* ch4;
    QCheckBox* ch5;
    QGroupBox* GroupBox1;
    QGroupBox* GroupBox2;
    StringGrid* StringGrid1;
    QPushButton* bSaveImage;
    QPushButton* bSeveProject;
    QPushButton* bOpenProject;
    QPushButton* bFigure;  // "Рисунок для статьи…", between the table's buttons and the export
    QString Memo1;  // the clipboard insert's text, read line by line; nobody sees it
    QLabel* pnLoad;
    QPushButton* btMapUpd;
    // In GroupBox1.
    QComboBox* cbMap;
    QPushButton* bNewMap;
    WrapCheckBox* cbHiRes;
    // In GroupBox2.
    RadioGroup* rgType;
    QLineEdit* edX;
    QLineEdit* edY;
    QPushButton* bInsertPoints;
    QPushButton* bInsertOne;
    QScrollBar* ScrollBar1;
    QLineEdit* Edit3;
    QCheckBox* cbRedPoint;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QTimer* Timer1;
    // Over the picture: the latitude and longitude under the pointer, and what the point cap
    // left off the map.
    QLabel* lbCoords;
    QLabel* lbCap;
    // The table's context menu, in this order; the first two work anywhere in the window.
    QAction* acUndo;
    QAction* acRedo;
    QAction* acCopy;
    QAction* acPaste;
    QAction* acClear;
    // Files of points in and out: the menu entries after these, and files dropped on the window.
    OccurrenceFiles* occurrenceFiles;
    QAction* acFigure;

    // Program-wide state.
    TPngImage a;      // the assembled map without markers
    Tpar PAR;         // the projection constants in force
    Tpoints points;   // the points of the last marker pass
    int pntSize = 0;  // marker edge in pixels

    // How many map assemblies and marker passes have started, for watching the window work.
    int assemblies() const { return assemblies_; }
    int markerPasses() const { return markerPasses_; }

    // The tables named on the command line: one opens as "Открыть таблицу" opens the file chosen
    // in its dialog, with the same error box; none changes nothing.
    void openStartupTables(const QStringList& fileNames);

    // Changes the table as one undo step named text, the way every change of the table goes:
    // change runs on the table, and with map set to another map the window switches to it in
    // the same step (undo brings back both). Then the map is rebuilt when it switched, and the
    // markers are redrawn otherwise. When change throws, what it changed stays as the step and
    // the error goes on, without a redraw: call it inside a handler (handle). An import replaces
    // the table this way.
    void changeTable(const QString& text, const std::function<void(PointTable&)>& change,
                     std::optional<int> map = std::nullopt) override;

    // Adds an entry to the end of the table's context menu. Its handler runs through the error
    // boundary, as every handler of the window does; the shortcut works while the table has
    // the keyboard focus.
    QAction* addTableAction(const QString& text, std::function<void()> handler,
                            const QList<QKeySequence>& shortcuts);

    // The error boundary: runs a handler, shows what it throws in the error box, then runs
    // whatever it left waiting (an assembly or a marker pass).
    void handle(const std::function<void()>& handler) override;

    // Whether the table differs from the one last saved or opened (from the one at start-up
    // when there was none): some step between the undo stack's clean state and where it stands
    // changed cells. Steps that only switch the map change nothing here.
    bool tableChanged() const;
    // The table's file, last opened or saved; empty for none.
    const QString& tableFile() const { return tableFile_; }

    const QUndoStack& undoStack() const { return *undoStack_; }

    // Whether a point falls on the picture of the map shown; no check while there is none.
    PictureCheck pictureCheck() const;

  protected:
    // Asks about a changed table first; Отмена, or a save that did not happen, keeps the
    // window open. A window that closes remembers its settings.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    // What the files of points in and out need of the window.
    QWidget* hostWidget() override { return this; }
    const PointTable& hostTable() const override;
    int markerColumn() const override;
    int currentMap() const override { return mapIndex_; }
    bool hiRes() const override;
    MapPictures mapPictures() const override;
    QString tableFileName() const override { return tableFile_; }
    void openTables(const QStringList& fileNames) override { openStartupTables(fileNames); }
    QAction* addTableAction(const QString& text, std::function<void()> handler) override {
        return addTableAction(text, std::move(handler), {});
    }
    QList<QAction*> reportActions() const override { return {acUndo, acRedo}; }

    // The two operations that give the event loop turns while they run. One runs at a time;
    // a request while one runs waits, and waiting requests merge into one.
    enum class Operation { None, MarkerPass, Assembly };

    void buildLayout();
    void connectHandlers();

    // Handlers.
    void FormCreate();
    void FormDestroy();
    void Timer1Timer();
    void cbHiResClick();
    void bUpdMapClick();
    void btMapUpdClick();
    void cbMapChange();
    void bNewMapClick();
    void bInsertOneClick();
    void bInsertPointsClick();
    void Edit3Change();
    void Edit3Exit();
    void ScrollBar1Change();
    void StringGrid1DrawCell(QPainter* canvas, int ACol, int ARow, const QRect& Rect);
    void StringGrid1SetEditText(int ACol, int ARow, const QString& Value);
    void bSaveImageClick();
    void bSeveProjectClick();
    void bOpenProjectClick();
    void bFigureClick();
    void openProject(const QString& fileName);
    void Image1Pointer(std::optional<QPoint> pixel);
    void Image1Click(QPoint pixel);
    void undoClick();
    void redoClick();
    void copyClick();
    void pasteClick();
    void clearClick();

    // The changes behind the handlers.
    void newMap(const QString& text, std::optional<TableCommand::MapSwitch> map);
    void pasteInto(int column);
    void commitCell(int col, int row, const QString& text);
    void recordTableChange(const QString& text, const std::function<void(PointTable&)>& change,
                           std::optional<TableCommand::MapSwitch> map = std::nullopt);
    void pushTableChange(const QString& text, TableChange change,
                         std::optional<TableCommand::MapSwitch> map);
    void switchMapKeepingTable(int map);
    void restoreTable(const TableChange& change, std::optional<TableCommand::MapSwitch> map,
                      bool forward);
    void switchMapQuietly(int map);
    void readAhead();
    std::shared_ptr<const FigureMap> figureMap(int map);
    void showPointCap();
    PictureBounds shownPicture() const;

    // The table's file and the close question.
    bool saveTable(const QString& fileName);
    bool confirmClose();
    void updateTitle();
    void applySettings();
    void rememberSettings() const;

    // Operations.
    void mapUpdate();
    void updPoint();
    void zelkora();
    void request(Operation operation);
    void defer(Operation operation);
    void run(Operation operation);
    void assemble();
    void markerPass();

    // The size field set by the handlers raises its handler at once, nested, unless the text
    // stays the same.
    void setEdit3Text(const QString& text);

    void guarded(const std::function<void()>& handler);
    void runDeferred();
    void showError(const QString& message);

    Hooks hooks_;
    QString dataDir_;
    static constexpr int kYieldIntervalMs = 8;
    QElapsedTimer sinceYield_;  // since the event loop's last turn in a running operation
    YieldFn yield_;
    MapAssembly maps_;  // what the last assembly read and blended, for the next click
    TPngImage spare_;   // the marked raster shown before the last, for the next pass to use
    // The figure dialog's geometry of each map, read once, on a thread of its own as soon as the
    // map is shown.
    std::array<std::shared_future<std::shared_ptr<const FigureMap>>, kMapCount> figureMaps_;
    QFont headerFont_;
    PictureTarget lastPicture_;
    QString tableFile_;  // the table's file, last opened or saved; empty for none
    QUndoStack* undoStack_;
    int mapIndex_;        // the map whose constants are in PAR
    int markedSize_ = 0;  // the marker size of the picture shown
    bool busy_ = false;
    bool closing_ = false;  // the window was closed: running work stops at its next turn
    bool captionsFitted_ = false;
    bool destroying_ = false;  // the controls are going: their handlers do nothing
    Operation pending_ = Operation::None;
    int assemblies_ = 0;
    int markerPasses_ = 0;
};

// The one main window of the process, from its construction on.
inline TmainForm* mainForm = nullptr;

}  // namespace zelkora
