#include "shell/TmainForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <array>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <new>
#include <utility>

#include "common/ZelkoraError.h"
#include "mapimage/DataPaths.h"
#include "mapimage/MapAssembly.h"
#include "plot/PictureBounds.h"
#include "plot/SaveMapImage.h"
#include "plot/zelkora.h"
#include "shell/CellDelegate.h"
#include "shell/CopperTheme.h"
#include "shell/FileDialogs.h"
#include "shell/PasteReportBox.h"
#include "shell/PictureView.h"
#include "shell/RadioGroup.h"
#include "shell/StringGrid.h"
#include "shell/WrapCheckBox.h"
#include "table/HeaderRow.h"
#include "table/ImportReport.h"
#include "table/PointInsert.h"
#include "table/PointTable.h"
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

const QColor kHeaderColour(245, 255, 245);
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
      yield_([] { QCoreApplication::processEvents(); }) {
    mainForm = this;
    buildLayout();
    connectHandlers();
    guarded([this] { FormCreate(); });
    runDeferred();
}

TmainForm::~TmainForm() {
    FormDestroy();
    if (mainForm == this) {
        mainForm = nullptr;
    }
}

void TmainForm::buildLayout() {
    setWindowTitle(QStringLiteral("Zelkora v0.2"));
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
    StringGrid1->setItemDelegate(
        new CellDelegate([this](QPainter* canvas, int col, int row,
                                const QRect& rect) { StringGrid1DrawCell(canvas, col, row, rect); },
                         [this](int col, int row, const QString& text) {
                             handle([&] { StringGrid1SetEditText(col, row, text); });
                         },
                         StringGrid1));

    bSaveImage = placed(new QPushButton(QStringLiteral("Сохранить карту как изображение"), this),
                        383, 771, 290, 42);
    bSeveProject =
        placed(new QPushButton(QStringLiteral("Сохранить таблицу"), this), 8, 772, 137, 42);
    bOpenProject =
        placed(new QPushButton(QStringLiteral("Открыть таблицу"), this), 151, 772, 137, 42);

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

    // Tab order: the layer boxes, the map choice, the point entry, the table, the file buttons.
    const QList<QWidget*> order = [&] {
        QList<QWidget*> chain = {ch1, ch2, ch3, ch4, ch5, cbMap, bNewMap, cbHiRes};
        for (int i = 0; i < rgType->Items().size(); ++i) {
            chain << rgType->button(i);
        }
        chain << edX << edY << bInsertPoints << bInsertOne << ScrollBar1 << Edit3 << cbRedPoint
              << StringGrid1 << bSaveImage << bSeveProject << bOpenProject;
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
    connect(ScrollBar1, &QScrollBar::valueChanged, this, on(&TmainForm::ScrollBar1Change));
    connect(bSaveImage, &QPushButton::clicked, this, on(&TmainForm::bSaveImageClick));
    connect(bSeveProject, &QPushButton::clicked, this, on(&TmainForm::bSeveProjectClick));
    connect(bOpenProject, &QPushButton::clicked, this, on(&TmainForm::bOpenProjectClick));
    connect(Timer1, &QTimer::timeout, this, on(&TmainForm::Timer1Timer));
    StringGrid1->setOnEditorClosed([this](int col, int row, const QString& text) {
        handle([&] { StringGrid1SetEditText(col, row, text); });
    });
}

// ---- The error boundary -------------------------------------------------------------------

void TmainForm::handle(const std::function<void()>& handler) {
    guarded(handler);
    runDeferred();
}

// Qt lets no exception through its event loop, so every one stops here.
void TmainForm::guarded(const std::function<void()>& handler) {
    try {
        handler();
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
    while (!busy_ && pending_ != Operation::None) {
        const Operation next = std::exchange(pending_, Operation::None);
        guarded([&] { run(next); });
    }
}

void TmainForm::showError(const QString& message) {
    if (hooks_.errorBox) {
        hooks_.errorBox(message);
        return;
    }
    QMessageBox::critical(this, QStringLiteral("Zelkora"), message);
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
    const QWidget* focus = QApplication::focusWidget();
    if (focus == cbMap || focus == edX || focus == edY) {
        return;
    }
    // The cell editor neither commits nor loses its text on a tick.
    if (StringGrid1->EditorMode()) {
        return;
    }
    StringGrid1->setFocus(Qt::OtherFocusReason);
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
    PAR = parForMap(cbMap->currentIndex());
    points.num = 0;
    bNewMapClick();
}

void TmainForm::bNewMapClick() {
    points.num = 0;
    StringGrid1->table().clearCells();
    fillHeaderRow(StringGrid1->table());
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
        pending_ = std::max(pending_, operation);
        return;
    }
    run(operation);
}

void TmainForm::run(Operation operation) {
    const BusyScope busy(busy_);
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
    // The map is built apart and moved into `a` only when it is complete.
    if (maps_.assemble(a, dataDir_, cbMap->currentText(), cbHiRes->isChecked(), layers, yield_)) {
        Image1->setPicture(a);
    }
    markerPass();
}

void TmainForm::markerPass() {
    ++markerPasses_;
    // Handlers that run between two markers may empty `points`; the pass keeps its own list.
    auto list = std::make_unique<Tpoints>();
    try {
        TPngImage marked = zelkora::zelkora(*list, StringGrid1->table(), PAR, cbHiRes->isChecked(),
                                            a, pntSize, cbRedPoint->isChecked(), dataDir_, yield_);
        points = *list;
        Image1->setPicture(std::move(marked));
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

void TmainForm::setScrollBar1Position(int position) {
    if (ScrollBar1->value() == position) {
        return;
    }
    {
        const QSignalBlocker quiet(ScrollBar1);
        ScrollBar1->setValue(position);
    }
    ScrollBar1Change();
}

void TmainForm::Edit3Change() {
    if (wholeNumber(Edit3->text()) < pntSizeMin) {
        setEdit3Text(QString::number(pntSizeMin));
    }
    if (wholeNumber(Edit3->text()) > pntSizeMax) {
        setEdit3Text(QString::number(pntSizeMax));
    }
    pntSize = wholeNumber(Edit3->text());
    setScrollBar1Position(positionFromSize(pntSize));
    zelkora();
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
    insertOnePoint(StringGrid1->table(), rgType->ItemIndex(), lat, lon);
    edX->setText(lat);
    edY->setText(lon);
    updPoint();
}

void TmainForm::bInsertPointsClick() {
    Memo1 = QGuiApplication::clipboard()->text();
    ImportReport report(PasteReportBox::kShownLines);
    if (a.Width() > 0 && a.Height() > 0) {
        report.setPictureCheck(
            PictureBounds(PAR, cbHiRes->isChecked(), a.Width(), a.Height()).check());
    }
    insertPastedText(StringGrid1->table(), rgType->ItemIndex(), Memo1, &report);
    updPoint();
    PasteReportBox::showFor(this, report);
}

// ---- Files --------------------------------------------------------------------------------

void TmainForm::bSeveProjectClick() {
    const QString name =
        hooks_.saveTableName ? hooks_.saveTableName() : FileDialogs::saveTableName(this);
    if (!name.isEmpty()) {
        SaveStringGrid(StringGrid1->table(), name);
    }
}

void TmainForm::bOpenProjectClick() {
    openProject(hooks_.openTableName ? hooks_.openTableName() : FileDialogs::openTableName(this));
}

// An empty name is a cancelled dialog: the table stays, the map is still rebuilt.
void TmainForm::openProject(const QString& fileName) {
    if (!fileName.isEmpty()) {
        LoadStringGrid(StringGrid1->table(), fileName);
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

void TmainForm::bSaveImageClick() {
    const std::optional<PictureTarget> target =
        hooks_.savePictureName ? hooks_.savePictureName(lastPicture_)
                               : FileDialogs::savePictureName(this, lastPicture_);
    if (!target) {
        return;
    }
    lastPicture_ = *target;
    SaveMapImage(Image1->picture(), target->fileName, target->format);
}

}  // namespace zelkora
