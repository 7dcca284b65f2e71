#include "shell/TmainForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <QUndoStack>
#include <array>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <map>
#include <new>
#include <utility>

#include "common/ZelkoraError.h"
#include "figure/FigureMap.h"
#include "mapimage/DataPaths.h"
#include "mapimage/MapAssembly.h"
#include "plot/PictureBounds.h"
#include "plot/SaveMapImage.h"
#include "plot/zelkora.h"
#include "projection/LambertConic.h"
#include "shell/CaptionFit.h"
#include "shell/CellDelegate.h"
#include "shell/CopperTheme.h"
#include "shell/ErrorBox.h"
#include "shell/FigureDialog.h"
#include "shell/FileDialogs.h"
#include "shell/MapAdvice.h"
#include "shell/OccurrenceFiles.h"
#include "shell/PictureView.h"
#include "shell/RadioGroup.h"
#include "shell/ReportBox.h"
#include "shell/StringGrid.h"
#include "shell/WheelGuard.h"
#include "shell/WindowSettings.h"
#include "shell/WrapCheckBox.h"
#include "table/HeaderRow.h"
#include "table/ImportReport.h"
#include "table/PointCell.h"
#include "table/PointInsert.h"
#include "table/PointTable.h"
#include "table/StrToFloat.h"
#include "table/TableChange.h"
#include "table/TableFile.h"

namespace zelkora {

namespace {

// The marker size as the slider shows it, 0 to 100 over pntSizeMin to pntSizeMax, truncated.
constexpr int positionFromSize(int size) {
    return static_cast<int>(static_cast<double>(size - pntSizeMin) / (pntSizeMax - pntSizeMin) *
                            100);
}

// The marker size at a slider position; the product is taken in integers, then truncated.
constexpr int sizeFromPosition(int position) {
    return static_cast<int>(position * (pntSizeMax - pntSizeMin) / 100.0 + pntSizeMin);
}

static_assert(positionFromSize(60) == 42 && sizeFromPosition(42) == 59);
static_assert(sizeFromPosition(50) == 69 && positionFromSize(69) == 50);
static_assert(positionFromSize(pntSizeMin) == 0 && positionFromSize(pntSizeMax) == 100);

// The marker-size field as a whole number; anything else counts as 0.
int wholeNumber(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

// Undo keeps at least this many steps.
constexpr int kUndoSteps = 100;

// Thrown out of the event loop's turn once the window is closed, to end the work that gave it.
struct Abandoned {};

const QColor kHeaderColour(245, 255, 245);
const QColor kNoticeColour(255, 244, 200);
constexpr int kCellTextFlags =
    Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs;

// pnLoad is shown exactly while an assembly runs, however it ends.
class LoadingPanel {
  public:
    explicit LoadingPanel(QWidget* panel) : panel_(panel) {
        panel_->show();
        panel_->raise();
        panel_->repaint();
    }
    ~LoadingPanel() { panel_->hide(); }
    LoadingPanel(const LoadingPanel&) = delete;
    LoadingPanel& operator=(const LoadingPanel&) = delete;

  private:
    QWidget* panel_;
};

class BusyScope {
  public:
    explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyScope() { busy_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    bool& busy_;
};

template <typename Widget>
Widget* placed(Widget* widget, int left, int top, int width, int height) {
    widget->setGeometry(left, top, width, height);
    return widget;
}

// A line over the picture: it lets the pointer through to the map.
QLabel* overlay(QWidget* parent, const QColor& background) {
    auto* l = new QLabel(parent);
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    l->setAutoFillBackground(true);
    l->setContentsMargins(4, 2, 4, 2);
    QPalette palette = l->palette();
    palette.setColor(QPalette::Window, background);
    l->setPalette(palette);
    l->hide();
    return l;
}

// Where the points a change put into the table fall: every cell it left holding a point.
MapTally tallyOfChange(const TableChange& change, const MapPictures& pictures) {
    MapTally tally;
    QStringList items;
    for (const TableChange::Cell& cell : change.cells()) {
        if (cell.row == 0 || !splitPointCell(cell.after, items)) {
            continue;
        }
        try {
            tally.add(StrToFloat(items[0]), StrToFloat(items[1]), pictures);
        } catch (const ZelkoraError&) {
            // Not a point: the marker pass will say so.
        }
    }
    return tally;
}

// Whether a table holds anything that closing would lose: a cell below the header, or a header
// other than a new table's.
bool holdsWork(const PointTable& table) {
    if (tableHoldsPoints(table)) {
        return true;
    }
    const QStringList headers = markerTypeNames();
    for (int c = 0; c < table.ColCount(); ++c) {
        if (table.cell(c, 0) != headers.value(c)) {
            return true;
        }
    }
    return false;
}

constexpr const char* kTitle = "Zelkora v0.2";

// A position as a table cell holds it, to four decimals; the longitude within 180 degrees of 0.
QString coordinatesText(GeoPoint at) {
    return QStringLiteral("%1, %2")
        .arg(at.lat, 0, 'f', 4)
        .arg(std::remainder(at.lon, 360.0), 0, 'f', 4);
}

QLabel* label(const QString& text, QWidget* parent, QRect geometry, bool italic) {
    auto* l = placed(new QLabel(text, parent), geometry.x(), geometry.y(), geometry.width(),
                     geometry.height());
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (italic) {
        QFont font = l->font();
        font.setItalic(true);
        l->setFont(font);
    }
    return l;
}

}  // namespace

TmainForm::TmainForm(Hooks hooks)
    : QWidget(nullptr),
      hooks_(std::move(hooks)),
      dataDir_(hooks_.dataDir.isEmpty() ? programFolder() : hooks_.dataDir),
      yield_([this] {
          // A turn at most every few milliseconds: often enough for the window to answer at
          // once, seldom enough that the turns cost no share of the work (a blend offers one per
          // row, the marker pass one per marker).
          if (!sinceYield_.isValid() || sinceYield_.elapsed() >= kYieldIntervalMs) {
              QCoreApplication::processEvents();
              sinceYield_.start();
          }
          if (closing_) {
              throw Abandoned();
          }
      }),
      undoStack_(new QUndoStack(this)),
      mapIndex_(kMapFarEast) {
    mainForm = this;
    undoStack_->setUndoLimit(kUndoSteps);
    buildLayout();
    connectHandlers();
    applySettings();
    guarded([this] { FormCreate(); });
    runDeferred();
    // The start-up's own map switch is no step to undo.
    undoStack_->clear();
    updateTitle();
}

TmainForm::~TmainForm() {
    // The controls go first, while the window is still whole: going, they raise handlers (a
    // field that loses the focus, an editor that commits, the undo stack that empties), which
    // must find it so, and do nothing.
    destroying_ = true;
    QList<QPointer<QObject>> children;
    for (QObject* child : this->children()) {
        children << child;
    }
    for (const QPointer<QObject>& child : children) {
        delete child.data();
    }
    FormDestroy();
    if (mainForm == this) {
        mainForm = nullptr;
    }
}

void TmainForm::buildLayout() {
    setWindowTitle(QLatin1String(kTitle));
    resize(kClientWidth, kClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                        screen->availableGeometry()));
    }

    Image1 = placed(new PictureView(this), 681, 31, 466, 782);

    const QFont small = CopperTheme::font(CopperTheme::kSmallFontPixels);
    const auto layerBox = [&](int index, int left, int width) {
        auto* box = placed(new QCheckBox(kLayerCaptions[index], this), left, 8, width, 17);
        box->setFont(small);
        box->setChecked(kDefaultLayers[static_cast<std::size_t>(index)]);
        return box;
    };
    ch1 = layerBox(0, 678, 51);
    ch2 = layerBox(1, 735, 35);
    ch3 = layerBox(2, 791, 110);
    ch4 = layerBox(3, 907, 118);
    ch5 = layerBox(4, 1027, 110);

    GroupBox1 = placed(new QGroupBox(QStringLiteral("Выбор карты"), this), 9, 17, 664, 64);
    cbMap = placed(new QComboBox(GroupBox1), 16, 27, 210, 22);
    cbMap->addItems(kMapCaptions);
    cbMap->setCurrentIndex(kMapFarEast);
    bNewMap = placed(new QPushButton(QStringLiteral("Новая карта"), GroupBox1), 232, 25, 89, 25);
    cbHiRes = placed(
        new WrapCheckBox(QStringLiteral("Использовать карты высокого разрешения"), GroupBox1), 494,
        16, 163, 44);

    GroupBox2 = placed(new QGroupBox(QStringLiteral("Добавление точек"), this), 8, 98, 665, 215);
    rgType = placed(new RadioGroup(QStringLiteral("Тип точек"), markerTypeNames(), 3, GroupBox2),
                    16, 30, 633, 83);
    edX = placed(new QLineEdit(QStringLiteral("0.000000"), GroupBox2), 265, 160, 76, 21);
    edY = placed(new QLineEdit(QStringLiteral("0.000000"), GroupBox2), 265, 182, 76, 21);
    bInsertPoints =
        placed(new QPushButton(QStringLiteral("Вставить"), GroupBox2), 16, 160, 138, 41);
    bInsertOne = placed(new QPushButton(QStringLiteral(">"), GroupBox2), 347, 160, 41, 41);
    ScrollBar1 = placed(new QScrollBar(Qt::Horizontal, GroupBox2), 440, 152, 154, 21);
    ScrollBar1->setRange(0, 100);
    ScrollBar1->setSingleStep(1);
    // A click beside the thumb moves one step too; the thumb stays small.
    ScrollBar1->setPageStep(1);
    ScrollBar1->setValue(100);
    ScrollBar1->setFocusPolicy(Qt::StrongFocus);
    Edit3 = placed(new QLineEdit(QStringLiteral("60"), GroupBox2), 600, 152, 49, 21);
    cbRedPoint =
        placed(new QCheckBox(QStringLiteral("Красные точки"), GroupBox2), 440, 179, 121, 27);
    Label1 = label(QStringLiteral("Добавить одну точку"), GroupBox2, {216, 133, 111, 13}, true);
    Label2 = label(QStringLiteral("Добавить из буфера"), GroupBox2, {16, 133, 105, 13}, true);
    Label3 = label(QStringLiteral("Размер иконок"), GroupBox2, {440, 133, 74, 13}, true);
    Label4 = label(QStringLiteral("Широта"), GroupBox2, {219, 165, 40, 13}, false);
    Label5 = label(QStringLiteral("Долгота"), GroupBox2, {216, 183, 43, 13}, false);

    auto* table = new PointTable(this);
    StringGrid1 = placed(new StringGrid(table, this), 8, 319, 665, 446);
    // The header's font is 11 pixels high with its internal leading: Tahoma's 9-pixel letters.
    headerFont_ = CopperTheme::font(CopperTheme::kSmallFontPixels);
    StringGrid1->setItemDelegate(new CellDelegate(
        [this](QPainter* canvas, int col, int row, const QRect& rect) {
            StringGrid1DrawCell(canvas, col, row, rect);
        },
        [this](int col, int row, const QString& text) {
            handle([&] { StringGrid1SetEditText(col, row, text); });
        },
        [this](int col, int row, const QString& text) { commitCell(col, row, text); },
        StringGrid1));

    bSaveImage = placed(new QPushButton(QStringLiteral("Сохранить карту как изображение"), this),
                        383, 771, 290, 42);
    bSeveProject =
        placed(new QPushButton(QStringLiteral("Сохранить таблицу"), this), 8, 772, 137, 42);
    bOpenProject =
        placed(new QPushButton(QStringLiteral("Открыть таблицу"), this), 151, 772, 137, 42);
    // In the free room of the bottom row; its caption on two lines.
    bFigure =
        placed(new QPushButton(QStringLiteral("Рисунок\nдля статьи…"), this), 294, 772, 83, 42);
    bFigure->setToolTip(
        QStringLiteral("Рисунок для журнала: точный размер в мм и dpi, легенда, масштаб; TIFF, "
                       "PNG, JPEG, PDF, SVG"));

    pnLoad = placed(new QLabel(QStringLiteral("Обновление..."), this), 735, 257, 338, 41);
    pnLoad->setAlignment(Qt::AlignCenter);
    pnLoad->setAutoFillBackground(true);
    QPalette loadPalette = pnLoad->palette();
    loadPalette.setColor(QPalette::Window, Qt::yellow);
    loadPalette.setColor(QPalette::WindowText, Qt::black);
    pnLoad->setPalette(loadPalette);
    pnLoad->hide();

    btMapUpd = placed(new QPushButton(QStringLiteral("Обновить точки"), this), 584, 86, 73, 36);
    QPalette red = btMapUpd->palette();
    red.setColor(QPalette::ButtonText, Qt::red);
    btMapUpd->setPalette(red);
    btMapUpd->hide();

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    Timer1->start();

    lbCoords = overlay(Image1, QColor(255, 255, 255, 225));
    lbCap = overlay(Image1, kNoticeColour);
    lbCap->setWordWrap(true);

    // A wheel notch over a selector changes it only while it holds the focus.
    for (QWidget* selector : {static_cast<QWidget*>(cbMap), static_cast<QWidget*>(ScrollBar1),
                              static_cast<QWidget*>(Edit3), static_cast<QWidget*>(rgType)}) {
        WheelGuard::install(selector);
    }
    for (int i = 0; i < rgType->Items().size(); ++i) {
        WheelGuard::install(rgType->button(i));
    }

    // Tab order: the layer boxes, the map choice, the point entry, the table, the file buttons.
    const QList<QWidget*> order = [&] {
        QList<QWidget*> chain = {ch1, ch2, ch3, ch4, ch5, cbMap, bNewMap, cbHiRes};
        for (int i = 0; i < rgType->Items().size(); ++i) {
            chain << rgType->button(i);
        }
        chain << edX << edY << bInsertPoints << bInsertOne << ScrollBar1 << Edit3 << cbRedPoint
              << StringGrid1 << bSaveImage << bSeveProject << bOpenProject << bFigure;
        return chain;
    }();
    for (qsizetype i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

void TmainForm::connectHandlers() {
    const auto on = [this](void (TmainForm::*handler)()) {
        return [this, handler] { handle([this, handler] { (this->*handler)(); }); };
    };
    for (QCheckBox* layer : {ch1, ch2, ch3, ch4, ch5}) {
        connect(layer, &QCheckBox::toggled, this, on(&TmainForm::bUpdMapClick));
    }
    connect(cbHiRes, &QCheckBox::toggled, this, on(&TmainForm::cbHiResClick));
    connect(cbRedPoint, &QCheckBox::toggled, this, on(&TmainForm::btMapUpdClick));
    connect(btMapUpd, &QPushButton::clicked, this, on(&TmainForm::btMapUpdClick));
    connect(cbMap, &QComboBox::currentIndexChanged, this, on(&TmainForm::cbMapChange));
    connect(bNewMap, &QPushButton::clicked, this, on(&TmainForm::bNewMapClick));
    connect(bInsertOne, &QPushButton::clicked, this, on(&TmainForm::bInsertOneClick));
    connect(bInsertPoints, &QPushButton::clicked, this, on(&TmainForm::bInsertPointsClick));
    connect(Edit3, &QLineEdit::textChanged, this, on(&TmainForm::Edit3Change));
    connect(Edit3, &QLineEdit::editingFinished, this, on(&TmainForm::Edit3Exit));
    connect(ScrollBar1, &QScrollBar::valueChanged, this, on(&TmainForm::ScrollBar1Change));
    connect(bSaveImage, &QPushButton::clicked, this, on(&TmainForm::bSaveImageClick));
    connect(bSeveProject, &QPushButton::clicked, this, on(&TmainForm::bSeveProjectClick));
    connect(bOpenProject, &QPushButton::clicked, this, on(&TmainForm::bOpenProjectClick));
    connect(bFigure, &QPushButton::clicked, this, on(&TmainForm::bFigureClick));
    connect(Timer1, &QTimer::timeout, this, on(&TmainForm::Timer1Timer));
    StringGrid1->setOnEditorClosed([this](int col, int row, const QString& text) {
        handle([&] { StringGrid1SetEditText(col, row, text); });
    });
    Image1->setOnPointer([this](std::optional<QPoint> pixel) { Image1Pointer(pixel); });
    Image1->setOnClick([this](QPoint pixel) { handle([&] { Image1Click(pixel); }); });

    // The table's context menu. Undo and redo work anywhere in the window (a text field keeps
    // its own); the others while the table has the focus.
    acUndo = addTableAction(QStringLiteral("Отменить"), [this] { undoClick(); },
                            {QKeySequence(Qt::CTRL | Qt::Key_Z)});
    acRedo = addTableAction(
        QStringLiteral("Повторить"), [this] { redoClick(); },
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (QAction* action : {acUndo, acRedo}) {
        action->setShortcutContext(Qt::WindowShortcut);
        action->setEnabled(false);
    }
    const auto stepText = [](const QString& verb, const QString& step) {
        return step.isEmpty() ? verb : verb + QStringLiteral(": ") + step;
    };
    connect(undoStack_, &QUndoStack::canUndoChanged, acUndo, &QAction::setEnabled);
    connect(undoStack_, &QUndoStack::canRedoChanged, acRedo, &QAction::setEnabled);
    connect(undoStack_, &QUndoStack::undoTextChanged, acUndo, [=, this](const QString& step) {
        acUndo->setText(stepText(QStringLiteral("Отменить"), step));
    });
    connect(undoStack_, &QUndoStack::redoTextChanged, acRedo, [=, this](const QString& step) {
        acRedo->setText(stepText(QStringLiteral("Повторить"), step));
    });
    StringGrid1->addAction(new QAction(StringGrid1));
    StringGrid1->actions().last()->setSeparator(true);
    acCopy = addTableAction(QStringLiteral("Копировать"), [this] { copyClick(); },
                            {QKeySequence(Qt::CTRL | Qt::Key_C)});
    acPaste = addTableAction(QStringLiteral("Вставить в столбец"), [this] { pasteClick(); },
                             {QKeySequence(Qt::CTRL | Qt::Key_V)});
    acClear = addTableAction(QStringLiteral("Очистить"), [this] { clearClick(); },
                             {QKeySequence(Qt::Key_Delete), QKeySequence(Qt::Key_Backspace)});
    connect(undoStack_, &QUndoStack::indexChanged, this, [this] { updateTitle(); });
    connect(undoStack_, &QUndoStack::cleanChanged, this, [this] { updateTitle(); });
    StringGrid1->addAction(new QAction(StringGrid1));
    StringGrid1->actions().last()->setSeparator(true);
    occurrenceFiles = new OccurrenceFiles(*this);
    StringGrid1->addAction(new QAction(StringGrid1));
    StringGrid1->actions().last()->setSeparator(true);
    acFigure =
        addTableAction(QStringLiteral("Рисунок для статьи…"), [this] { bFigureClick(); }, {});
}

QAction* TmainForm::addTableAction(const QString& text, std::function<void()> handler,
                                   const QList<QKeySequence>& shortcuts) {
    auto* action = new QAction(text, StringGrid1);
    action->setShortcuts(shortcuts);
    action->setShortcutContext(Qt::WidgetShortcut);
    connect(action, &QAction::triggered, this,
            [this, handler = std::move(handler)] { handle(handler); });
    StringGrid1->addAction(action);
    return action;
}

// ---- The error boundary -------------------------------------------------------------------

void TmainForm::handle(const std::function<void()>& handler) {
    guarded(handler);
    runDeferred();
}

// Qt lets no exception through its event loop, so every one stops here.
void TmainForm::guarded(const std::function<void()>& handler) {
    if (destroying_) {
        return;
    }
    try {
        handler();
    } catch (const Abandoned&) {
        // The window was closed while the handler gave the event loop a turn.
    } catch (const std::exception& e) {
        if (!dynamic_cast<const ZelkoraError*>(&e)) {
            qWarning("Unexpected error: %s", e.what());
        }
        showError(messageOfCurrentError());
    } catch (...) {
        showError(messageOfCurrentError());
    }
}

void TmainForm::runDeferred() {
    while (!busy_ && !closing_ && pending_ != Operation::None) {
        const Operation next = std::exchange(pending_, Operation::None);
        guarded([&] { run(next); });
    }
}

void TmainForm::showError(const QString& message) {
    if (hooks_.errorBox) {
        hooks_.errorBox(message);
        return;
    }
    ErrorBox::create(this, message)->exec();
}

void TmainForm::closeEvent(QCloseEvent* event) {
    if (!closing_ && !confirmClose()) {
        event->ignore();
        return;
    }
    rememberSettings();
    closing_ = true;
    pending_ = Operation::None;
    QWidget::closeEvent(event);
}

// Captions are measured once every control is laid out and polished, as it is first shown.
void TmainForm::showEvent(QShowEvent* event) {
    closing_ = false;
    QWidget::showEvent(event);
    if (!captionsFitted_) {
        captionsFitted_ = true;
        CaptionFit::fitAll(this);
    }
}

// ---- Start-up and the forwarding handlers -------------------------------------------------

void TmainForm::FormCreate() {
    // "." in every conversion, whatever the regional settings.
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_NUMERIC, "C");
    // PAR_map and the marker size limits are constants.
    StringGrid1->setRowHeight(0, StringGrid::kDefaultRowHeight);
    fillHeaderRow(StringGrid1->table());
    a = TPngImage();
    Edit3Change();
    cbMapChange();
}

void TmainForm::FormDestroy() {
    a = TPngImage();
}

void TmainForm::Timer1Timer() {
    // Never take the focus from a dialog or an error box, nor before the window is shown.
    if (!isVisible() || QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
        return;
    }
    // The fields keep the focus while the user types in them, and the map selector and the
    // slider while they are worked with keys or the wheel.
    const QWidget* focus = QApplication::focusWidget();
    if (focus == cbMap || focus == edX || focus == edY || focus == Edit3 || focus == ScrollBar1) {
        return;
    }
    // The cell editor neither commits nor loses its text on a tick.
    if (StringGrid1->EditorMode()) {
        return;
    }
    // The keys that follow were meant for the control that had the focus: they edit no cell
    // until the user chooses one.
    StringGrid1->takeFocusFromRule();
}

void TmainForm::cbHiResClick() {
    mapUpdate();
}

void TmainForm::bUpdMapClick() {
    mapUpdate();
}

void TmainForm::btMapUpdClick() {
    updPoint();
}

// ---- Map switch and assembly --------------------------------------------------------------

void TmainForm::cbMapChange() {
    const int from = std::exchange(mapIndex_, cbMap->currentIndex());
    PAR = parForMap(mapIndex_);
    points.num = 0;
    newMap(
        QStringLiteral("Смена карты"),
        from == mapIndex_ ? std::nullopt : std::optional(TableCommand::MapSwitch{from, mapIndex_}));
}

void TmainForm::bNewMapClick() {
    newMap(QStringLiteral("Новая карта"), std::nullopt);
}

void TmainForm::newMap(const QString& text, std::optional<TableCommand::MapSwitch> map) {
    points.num = 0;
    recordTableChange(
        text,
        [](PointTable& table) {
            table.clearCells();
            fillHeaderRow(table);
        },
        map);
    mapUpdate();
}

void TmainForm::mapUpdate() {
    request(Operation::Assembly);
}

void TmainForm::updPoint() {
    zelkora();
}

void TmainForm::zelkora() {
    request(Operation::MarkerPass);
}

// A second assembly or pass started from inside the event loop would finish first and then be
// overwritten by the older one, so it waits; an assembly ends with a pass, so it covers both.
void TmainForm::request(Operation operation) {
    if (busy_) {
        defer(operation);
        return;
    }
    run(operation);
}

void TmainForm::defer(Operation operation) {
    pending_ = std::max(pending_, operation);
}

void TmainForm::run(Operation operation) {
    const BusyScope busy(busy_);
    // The first offer of an operation is taken: a click made before it is handled in it.
    sinceYield_.invalidate();
    if (operation == Operation::Assembly) {
        assemble();
    } else {
        markerPass();
    }
}

void TmainForm::assemble() {
    ++assemblies_;
    const LoadingPanel loading(pnLoad);
    const std::array<bool, kLayerCount> layers = {
        ch1->isChecked(), ch2->isChecked(), ch3->isChecked(), ch4->isChecked(), ch5->isChecked()};
    // The map is built apart and moved into `a` only when it is complete. It is shown with its
    // markers: alone only when the marker pass fails, so that it is scaled for the view once.
    const bool assembled =
        maps_.assemble(a, dataDir_, cbMap->currentText(), cbHiRes->isChecked(), layers, yield_);
    if (assembled) {
        readAhead();
    }
    try {
        markerPass();
    } catch (const Abandoned&) {
        throw;
    } catch (...) {
        if (assembled) {
            Image1->setPicture(a);
        }
        throw;
    }
}

void TmainForm::markerPass() {
    ++markerPasses_;
    // Handlers that run between two markers may empty `points`; the pass keeps its own list.
    auto list = std::make_unique<Tpoints>();
    const int size = pntSize;
    try {
        // Drawn into the raster shown before the last, whose storage is still at hand.
        TPngImage marked = std::move(spare_);
        zelkora::zelkora(marked, *list, StringGrid1->table(), PAR, cbHiRes->isChecked(), a, size,
                         cbRedPoint->isChecked(), dataDir_, yield_);
        points = *list;
        markedSize_ = size;
        spare_ = Image1->replacePicture(std::move(marked));
        showPointCap();
    } catch (...) {
        points = *list;  // the points read before the bad cell
        throw;
    }
}

// ---- Marker size --------------------------------------------------------------------------

void TmainForm::setEdit3Text(const QString& text) {
    if (Edit3->text() == text) {
        return;
    }
    {
        const QSignalBlocker quiet(Edit3);
        Edit3->setText(text);
    }
    Edit3Change();
}

void TmainForm::Edit3Change() {
    if (wholeNumber(Edit3->text()) < pntSizeMin) {
        // While the user types, a number below the minimum may be the start of a larger one
        // ("4" on the way to "45"): it is clamped when the edit ends.
        if (focusWidget() == Edit3) {
            return;
        }
        setEdit3Text(QString::number(pntSizeMin));
    }
    if (wholeNumber(Edit3->text()) > pntSizeMax) {
        setEdit3Text(QString::number(pntSizeMax));
    }
    pntSize = wholeNumber(Edit3->text());
    // The slider follows the field without handing back its own, coarser size: the size typed
    // is the size drawn.
    {
        const QSignalBlocker quiet(ScrollBar1);
        ScrollBar1->setValue(positionFromSize(pntSize));
    }
    zelkora();
}

// Enter, or the focus leaving the field.
void TmainForm::Edit3Exit() {
    if (wholeNumber(Edit3->text()) < pntSizeMin) {
        setEdit3Text(QString::number(pntSizeMin));
    }
}

void TmainForm::ScrollBar1Change() {
    pntSize = sizeFromPosition(ScrollBar1->value());
    // The dead band ends the exchange between the two controls.
    if (std::abs(wholeNumber(Edit3->text()) - pntSize) > 2) {
        setEdit3Text(QString::number(pntSize));
    }
}

// ---- The table ----------------------------------------------------------------------------

void TmainForm::StringGrid1DrawCell(QPainter* canvas, int ACol, int ARow, const QRect& Rect) {
    canvas->save();
    QFont font = StringGrid1->font();
    if (ARow == 0) {
        canvas->fillRect(Rect, kHeaderColour);
        font = headerFont_;
    } else {
        canvas->fillRect(Rect, Qt::white);
    }
    canvas->setFont(font);
    canvas->setPen(StringGrid1->palette().color(QPalette::Text));
    canvas->drawText(Rect.adjusted(0, 2, 0, 0), kCellTextFlags,
                     StringGrid1->table().cell(ACol, ARow));
    canvas->restore();
}

void TmainForm::StringGrid1SetEditText(int, int, const QString&) {
    if (StringGrid1->EditorMode()) {
        return;
    }
    // After the grid has finished closing its editor, not inside it.
    QMetaObject::invokeMethod(btMapUpd, &QPushButton::click, Qt::QueuedConnection);
}

void TmainForm::bInsertOneClick() {
    QString lat = edX->text();
    QString lon = edY->text();
    recordTableChange(QStringLiteral("Одна точка"), [&](PointTable& table) {
        insertOnePoint(table, rgType->ItemIndex(), lat, lon);
    });
    edX->setText(lat);
    edY->setText(lon);
    updPoint();
}

void TmainForm::bInsertPointsClick() {
    pasteInto(rgType->ItemIndex());
}

// One undo step, then one refresh; the lines that gave no point and the points off the map are
// reported in a box that does not block. Points pasted into a table that held none take the map
// most of them fall on, in the same step; points that mostly fall on the other map are offered
// that map.
void TmainForm::pasteInto(int column) {
    Memo1 = QGuiApplication::clipboard()->text();
    PointTable& table = StringGrid1->table();
    const bool heldPoints = tableHoldsPoints(table);
    const MapPictures pictures = mapPictures();
    const QString step = QStringLiteral("Вставка из буфера");
    const TableChange::Snapshot before(table);
    std::optional<ImportReport> report;
    const auto paste = [&](PictureCheck check) {
        report.emplace(ReportBox::kShownLines);
        report->setPictureCheck(std::move(check));
        try {
            insertPastedText(table, column, Memo1, &*report);
        } catch (...) {
            pushTableChange(step, TableChange(before, table), std::nullopt);
            throw;
        }
        return TableChange(before, table);
    };
    TableChange made = paste(pictureCheck());
    const MapTally tally = tallyOfChange(made, pictures);
    std::optional<TableCommand::MapSwitch> switched;
    const std::optional<int> most = mapOfMost(tally);
    if (!heldPoints && most && *most != mapIndex_) {
        // Made again on that map, so that the report checks the points against it.
        made.undo(table);
        switched = TableCommand::MapSwitch{mapIndex_, *most};
        switchMapQuietly(*most);
        const std::optional<PictureBounds>& picture = pictures[static_cast<std::size_t>(*most)];
        made = paste(picture ? picture->check() : PictureCheck());
    }
    pushTableChange(step, std::move(made), switched);
    if (switched) {
        mapUpdate();
    } else {
        updPoint();
    }
    // A paste that went well on the map it was made on needs no word about the map.
    ReportBox::showFor(this, *report, {acUndo, acRedo},
                       mapAdvice(tally, mapIndex_, switched.has_value(),
                                 [this](int map) { handle([&] { switchMapKeepingTable(map); }); }));
}

PictureCheck TmainForm::pictureCheck() const {
    if (a.Width() <= 0 || a.Height() <= 0) {
        return {};
    }
    return PictureBounds(PAR, cbHiRes->isChecked(), a.Width(), a.Height()).check();
}

void TmainForm::commitCell(int col, int row, const QString& text) {
    guarded([&] {
        recordTableChange(QStringLiteral("Ввод в ячейку"),
                          [&](PointTable& table) { table.setCell(col, row, text); });
    });
}

// ---- Undo ---------------------------------------------------------------------------------

void TmainForm::changeTable(const QString& text, const std::function<void(PointTable&)>& change,
                            std::optional<int> map) {
    std::optional<TableCommand::MapSwitch> switched;
    if (map && *map != mapIndex_) {
        switched = TableCommand::MapSwitch{mapIndex_, *map};
        switchMapQuietly(*map);
    }
    recordTableChange(text, change, switched);
    if (switched) {
        mapUpdate();
    } else {
        updPoint();
    }
}

void TmainForm::recordTableChange(const QString& text,
                                  const std::function<void(PointTable&)>& change,
                                  std::optional<TableCommand::MapSwitch> map) {
    PointTable& table = StringGrid1->table();
    const TableChange::Snapshot before(table);
    try {
        change(table);
    } catch (...) {
        pushTableChange(text, TableChange(before, table), map);
        throw;
    }
    pushTableChange(text, TableChange(before, table), map);
}

void TmainForm::pushTableChange(const QString& text, TableChange change,
                                std::optional<TableCommand::MapSwitch> map) {
    if (change.isEmpty() && !map) {
        return;
    }
    undoStack_->push(new TableCommand(
        text, std::move(change), map,
        [this](const TableChange& step, std::optional<TableCommand::MapSwitch> switched,
               bool forward) { restoreTable(step, switched, forward); }));
}

// The map switch a report offers: the table stays, and undo brings back the map it was on.
void TmainForm::switchMapKeepingTable(int map) {
    changeTable(
        keepTableStep(map), [](PointTable&) {}, map);
}

bool TmainForm::tableChanged() const {
    const int clean = undoStack_->cleanIndex();
    const int index = undoStack_->index();
    if (clean < 0) {
        return true;  // the clean state fell off the end of the history
    }
    for (int i = std::min(clean, index); i < std::max(clean, index); ++i) {
        if (static_cast<const TableCommand*>(undoStack_->command(i))->changesTable()) {
            return true;
        }
    }
    return false;
}

// Runs inside the undo stack, which must not see an error: the redraw waits for the handler's
// end, where the error boundary is.
void TmainForm::restoreTable(const TableChange& change, std::optional<TableCommand::MapSwitch> map,
                             bool forward) {
    if (forward) {
        change.redo(StringGrid1->table());
    } else {
        change.undo(StringGrid1->table());
    }
    if (map) {
        switchMapQuietly(forward ? map->to : map->from);
        defer(Operation::Assembly);
    } else {
        defer(Operation::MarkerPass);
    }
    // What came back is selected: the cells around the change.
    if (!change.cells().empty()) {
        QRect changed;
        for (const TableChange::Cell& cell : change.cells()) {
            changed |= QRect(cell.col, cell.row, 1, 1);
        }
        StringGrid1->chooseCells(changed.left(), changed.top(), changed.right(), changed.bottom());
    }
}

// The selector shows the map without raising its change handler.
void TmainForm::switchMapQuietly(int map) {
    mapIndex_ = map;
    {
        const QSignalBlocker quiet(cbMap);
        cbMap->setCurrentIndex(map);
    }
    PAR = parForMap(map);
    points.num = 0;
}

void TmainForm::undoClick() {
    undoStack_->undo();
}

void TmainForm::redoClick() {
    undoStack_->redo();
}

// ---- The table's own keys -----------------------------------------------------------------

void TmainForm::copyClick() {
    const QString text = StringGrid1->selectedText();
    if (!text.isEmpty()) {
        QGuiApplication::clipboard()->setText(text);
    }
}

// Into the column of the current cell, where "Вставить" puts points, below the last one.
void TmainForm::pasteClick() {
    if (!StringGrid1->userChoseCell()) {
        return;
    }
    const QModelIndex current = StringGrid1->currentIndex();
    pasteInto(current.isValid() ? current.column() : rgType->ItemIndex());
}

void TmainForm::clearClick() {
    if (!StringGrid1->userChoseCell()) {
        return;
    }
    const std::vector<QPoint> cells = StringGrid1->selectedCells();
    recordTableChange(QStringLiteral("Очистка ячеек"), [&](PointTable& table) {
        for (const QPoint cell : cells) {
            table.setCell(cell.x(), cell.y(), QString());
        }
    });
    updPoint();
}

// ---- The map view -------------------------------------------------------------------------

void TmainForm::Image1Pointer(std::optional<QPoint> pixel) {
    if (destroying_) {
        return;
    }
    const LambertConic projection(PAR, cbHiRes->isChecked());
    if (!pixel || !projection.hasCone()) {
        lbCoords->hide();
        return;
    }
    const GeoPoint at =
        projection.toGeo(QPointF(pixel->x() + 0.5, pixel->y() + 0.5), Image1->picture().Height());
    lbCoords->setText(coordinatesText(at));
    lbCoords->adjustSize();
    // In the picture's top-left corner, or the top-right one while the pointer is under it.
    const QPoint pointer = Image1->mapFromGlobal(QCursor::pos());
    const bool under = pointer.x() < lbCoords->width() + 8 && pointer.y() < lbCoords->height() + 8;
    lbCoords->move(under ? Image1->shownSize().width() - lbCoords->width() : 0, 0);
    lbCoords->show();
    lbCoords->raise();
}

void TmainForm::Image1Click(QPoint pixel) {
    const int i = markerAt(points, markedSize_, pixel.x(), pixel.y());
    const std::vector<PointCell> cells = pointCells(StringGrid1->table(), shownPicture());
    if (i < 0 || static_cast<std::size_t>(i) >= cells.size()) {
        return;
    }
    StringGrid1->setFocus(Qt::OtherFocusReason);
    StringGrid1->chooseCell(cells[static_cast<std::size_t>(i)].col,
                            cells[static_cast<std::size_t>(i)].row);
}

// The picture the markers are drawn on, as the marker pass sees it.
PictureBounds TmainForm::shownPicture() const {
    return PictureBounds(PAR, cbHiRes->isChecked(), a.Width(), a.Height());
}

void TmainForm::showPointCap() {
    const QString text =
        points.num < Tpoints::kCapacity
            ? QString()
            : pointCapText(StringGrid1->table(), pointCells(StringGrid1->table(), shownPicture()));
    lbCap->setText(text);
    if (text.isEmpty()) {
        lbCap->hide();
        return;
    }
    const int width = Image1->width();
    const int height = lbCap->heightForWidth(width);
    lbCap->setGeometry(0, Image1->height() - height, width, height);
    lbCap->show();
    lbCap->raise();
}

// ---- Files --------------------------------------------------------------------------------

void TmainForm::bSeveProjectClick() {
    saveTable(hooks_.saveTableName ? hooks_.saveTableName() : FileDialogs::saveTableName(this));
}

// An empty name is a cancelled dialog: nothing is saved.
bool TmainForm::saveTable(const QString& fileName) {
    if (fileName.isEmpty()) {
        return false;
    }
    SaveStringGrid(StringGrid1->table(), fileName);
    tableFile_ = fileName;
    undoStack_->setClean();
    updateTitle();
    return true;
}

void TmainForm::bOpenProjectClick() {
    openProject(hooks_.openTableName ? hooks_.openTableName() : FileDialogs::openTableName(this));
}

// An empty name is a cancelled dialog: the table stays, the map is still rebuilt.
void TmainForm::openProject(const QString& fileName) {
    if (!fileName.isEmpty()) {
        recordTableChange(QStringLiteral("Открыть таблицу"),
                          [&](PointTable& table) { LoadStringGrid(table, fileName); });
        tableFile_ = fileName;
        undoStack_->setClean();
        updateTitle();
    }
    mapUpdate();
}

void TmainForm::openStartupTables(const QStringList& fileNames) {
    if (fileNames.isEmpty()) {
        return;
    }
    handle([&] {
        // Each table would replace the one before, so a second name is a mistake, not a wish.
        if (fileNames.size() > 1) {
            throw ZelkoraError(
                QStringLiteral("Открыть можно только одну таблицу, а указано файлов: %1.")
                    .arg(fileNames.size()));
        }
        openProject(fileNames[0]);
    });
}

// The file name's extension decides the type when it names one of the three; the dialog's type
// only gives a bare name its extension and a name of any other kind its format.
void TmainForm::bSaveImageClick() {
    checkExportable(Image1->picture());
    const std::optional<PictureTarget> target =
        hooks_.savePictureName ? hooks_.savePictureName(lastPicture_)
                               : FileDialogs::savePictureName(this, lastPicture_);
    if (!target) {
        return;
    }
    lastPicture_ = {target->fileName,
                    exportFormatFromExtension(target->fileName).value_or(target->format)};
    SaveMapImage(Image1->picture(), lastPicture_.fileName, lastPicture_.format);
}

// What the next clicks are likely to want, read while the user looks at the map: the map's
// files at the other resolution, and its geometry for the figure dialog.
void TmainForm::readAhead() {
    maps_.prefetch(dataDir_, cbMap->currentText(), !cbHiRes->isChecked());
    auto& figure = figureMaps_[static_cast<std::size_t>(mapIndex_)];
    if (!figure.valid()) {
        figure = std::async(std::launch::async, [dataDir = dataDir_, map = mapIndex_] {
                     return std::shared_ptr<const FigureMap>(FigureMap::load(dataDir, map));
                 }).share();
    }
}

// The geometry read ahead, or read now; a failed read is tried again next time.
std::shared_ptr<const FigureMap> TmainForm::figureMap(int map) {
    auto& figure = figureMaps_[static_cast<std::size_t>(map)];
    if (!figure.valid()) {
        return FigureMap::load(dataDir_, map);
    }
    try {
        return figure.get();
    } catch (...) {
        figure = {};
        throw;
    }
}

// The figure dialog over the window, which it keeps from changing the table while it is open.
void TmainForm::bFigureClick() {
    const std::array<bool, kLayerCount> layers = {
        ch1->isChecked(), ch2->isChecked(), ch3->isChecked(), ch4->isChecked(), ch5->isChecked()};
    auto* dialog = new FigureDialog(
        {dataDir_, mapIndex_, layers, &StringGrid1->table(), tableFile_, figureMap(mapIndex_)}, {},
        this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

// ---- Closing, the title and the settings -------------------------------------------------

// "Да" saves to the table's file, or through the save dialog when it has none; a cancelled
// dialog or a failed save keeps the window open.
bool TmainForm::confirmClose() {
    if (!holdsWork(StringGrid1->table()) || !tableChanged()) {
        return true;
    }
    SaveAnswer answer = SaveAnswer::Cancel;
    if (hooks_.askSaveChanges) {
        answer = hooks_.askSaveChanges();
    } else {
        QMessageBox box(QMessageBox::Question, QLatin1String(kTitle),
                        QStringLiteral("Сохранить изменения в таблице?"), QMessageBox::NoButton,
                        this);
        QPushButton* yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
        box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
        box.setDefaultButton(yes);
        box.exec();
        answer = box.clickedButton() == yes  ? SaveAnswer::Save
                 : box.clickedButton() == no ? SaveAnswer::Discard
                                             : SaveAnswer::Cancel;
    }
    if (answer != SaveAnswer::Save) {
        return answer == SaveAnswer::Discard;
    }
    bool saved = false;
    guarded([&] {
        saved = saveTable(!tableFile_.isEmpty()  ? tableFile_
                          : hooks_.saveTableName ? hooks_.saveTableName()
                                                 : FileDialogs::saveTableName(this));
    });
    return saved;
}

// "points.points — Zelkora v0.2", with an asterisk after the name while the table is changed;
// a table without a file is a new one.
void TmainForm::updateTitle() {
    if (destroying_) {
        return;
    }
    const bool changed =
        tableChanged() && (!tableFile_.isEmpty() || holdsWork(StringGrid1->table()));
    if (tableFile_.isEmpty() && !changed) {
        setWindowTitle(QLatin1String(kTitle));
        return;
    }
    const QString name =
        tableFile_.isEmpty() ? QStringLiteral("Новая таблица") : QFileInfo(tableFile_).fileName();
    setWindowTitle(
        QStringLiteral("%1%2 — %3")
            .arg(name, changed ? QStringLiteral("*") : QString(), QLatin1String(kTitle)));
}

// The settings last remembered go into the controls quietly, before start-up assembles the map.
void TmainForm::applySettings() {
    const WindowSettings settings = WindowSettings::load();
    QCheckBox* const layers[] = {ch1, ch2, ch3, ch4, ch5};
    for (int i = 0; i < kLayerCount; ++i) {
        const QSignalBlocker quiet(layers[i]);
        layers[i]->setChecked(settings.layers[static_cast<std::size_t>(i)]);
    }
    for (QWidget* control : {static_cast<QWidget*>(cbMap), static_cast<QWidget*>(cbHiRes),
                             static_cast<QWidget*>(Edit3), static_cast<QWidget*>(cbRedPoint)}) {
        control->blockSignals(true);
    }
    cbMap->setCurrentIndex(settings.map);
    cbHiRes->setChecked(settings.hiRes);
    Edit3->setText(QString::number(settings.markerSize));
    cbRedPoint->setChecked(settings.red);
    for (QWidget* control : {static_cast<QWidget*>(cbMap), static_cast<QWidget*>(cbHiRes),
                             static_cast<QWidget*>(Edit3), static_cast<QWidget*>(cbRedPoint)}) {
        control->blockSignals(false);
    }
}

void TmainForm::rememberSettings() const {
    WindowSettings settings;
    settings.map = mapIndex_;
    settings.layers = {ch1->isChecked(), ch2->isChecked(), ch3->isChecked(), ch4->isChecked(),
                       ch5->isChecked()};
    settings.hiRes = cbHiRes->isChecked();
    settings.markerSize = pntSize;
    settings.red = cbRedPoint->isChecked();
    settings.save();
}

// ---- What the files of points need ---------------------------------------------------------

const PointTable& TmainForm::hostTable() const {
    return StringGrid1->table();
}

int TmainForm::markerColumn() const {
    return rgType->ItemIndex();
}

bool TmainForm::hiRes() const {
    return cbHiRes->isChecked();
}

MapPictures TmainForm::mapPictures() const {
    MapPictures pictures;
    for (int map = 0; map < kMapCount; ++map) {
        try {
            pictures[static_cast<std::size_t>(map)] =
                PictureBounds::ofMap(dataDir_, map, cbHiRes->isChecked());
        } catch (const ZelkoraError&) {
            // A map without its picture: nothing is known to fall on it.
        }
    }
    return pictures;
}

}  // namespace zelkora
