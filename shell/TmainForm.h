#pragma once

#include <QFont>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>

#include "common/YieldFn.h"
#include "mapimage/MapAssembly.h"
#include "mapimage/TPngImage.h"
#include "plot/Tpoints.h"
#include "projection/Tpar.h"
#include "shell/PictureTarget.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTimer;

namespace zelkora {

class PictureView;
class RadioGroup;
class StringGrid;
class WrapCheckBox;

// The main window. It holds every control of the layout under its name, the program-wide state
// and all event handlers; the handlers only wire the core. Every handler runs through one error
// boundary, which shows a failure in an error box and lets the window go on.
class TmainForm : public QWidget {
  public:
    // What the window needs from outside. Empty members mean the data folders beside the
    // program, the real file dialogs and the real error box; tests put in their own.
    struct Hooks {
        QString dataDir;  // ends in "/"
        std::function<void(const QString& message)> errorBox;
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

  private:
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
    void ScrollBar1Change();
    void StringGrid1DrawCell(QPainter* canvas, int ACol, int ARow, const QRect& Rect);
    void StringGrid1SetEditText(int ACol, int ARow, const QString& Value);
    void bSaveImageClick();
    void bSeveProjectClick();
    void bOpenProjectClick();
    void openProject(const QString& fileName);

    // Operations.
    void mapUpdate();
    void updPoint();
    void zelkora();
    void request(Operation operation);
    void run(Operation operation);
    void assemble();
    void markerPass();

    // Changes made by the handlers raise the control's handler at once, nested, unless the
    // value stays the same.
    void setEdit3Text(const QString& text);
    void setScrollBar1Position(int position);

    // The error boundary: runs a handler, then whatever it left waiting.
    void handle(const std::function<void()>& handler);
    void guarded(const std::function<void()>& handler);
    void runDeferred();
    void showError(const QString& message);

    Hooks hooks_;
    QString dataDir_;
    YieldFn yield_;
    MapAssembly maps_;  // what the last assembly read and blended, for the next click
    QFont headerFont_;
    PictureTarget lastPicture_;
    bool busy_ = false;
    Operation pending_ = Operation::None;
    int assemblies_ = 0;
    int markerPasses_ = 0;
};

// The one main window of the process, from its construction on.
inline TmainForm* mainForm = nullptr;

}  // namespace zelkora
