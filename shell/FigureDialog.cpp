#include "shell/FigureDialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <vector>

#include "cli/FigureArgs.h"
#include "common/ShellWords.h"
#include "common/ZelkoraError.h"
#include "figure/DrawnExtent.h"
#include "figure/FigureFile.h"
#include "figure/FigureMap.h"
#include "figure/FrameAnnotation.h"
#include "figure/PointKey.h"
#include "shell/FigurePreview.h"
#include "shell/FigureSettings.h"
#include "shell/FileDialogs.h"
#include "shell/WheelGuard.h"
#include "table/PointTable.h"
#include "table/TableFile.h"

namespace zelkora {

const QString FigureDialog::kUnsavedTable = QStringLiteral("таблица.points");

namespace {

constexpr int kPreviewMinWidth = 360;
constexpr int kPreviewMinHeight = 400;
// Points left out are named one by one up to this many.
constexpr int kNamedLeftOut = 5;
// A drawn box is written to this many decimals of a degree (about 11 m).
constexpr int kBoxDecimals = 4;

// The corners in the order of FigureCorner.
const QStringList kCornerNames = {
    QStringLiteral("авто (где нет точек)"), QStringLiteral("вверху слева"),
    QStringLiteral("вверху справа"),        QStringLiteral("внизу слева"),
    QStringLiteral("внизу справа"),         QStringLiteral("нет"),
};

// In the order of FigureFormat.
const QStringList kFormatNames = {
    QStringLiteral("TIFF (LZW, RGB)"), QStringLiteral("PNG"),          QStringLiteral("JPEG"),
    QStringLiteral("PDF (вектор)"),    QStringLiteral("SVG (вектор)"),
};

QString millimetres(double mm) {
    return QString::number(mm, 'f', 1);
}

QDoubleSpinBox* numberBox(double min, double max, int decimals, double step, const QString& unit,
                          QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(min, max);
    box->setDecimals(decimals);
    box->setSingleStep(step);
    if (!unit.isEmpty()) {
        box->setSuffix(QLatin1Char(' ') + unit);
    }
    box->setAccelerated(true);
    return box;
}

// Controls set by the dialog itself raise no change of their own while it lasts.
class Quiet {
  public:
    explicit Quiet(const QList<QObject*>& controls) {
        blockers_.reserve(static_cast<std::size_t>(controls.size()));
        for (QObject* control : controls) {
            blockers_.emplace_back(control);
        }
    }

  private:
    std::vector<QSignalBlocker> blockers_;
};

// The graticule's choices: chosen for the frame, no lines, then every interval the frame's
// labels may take.
QStringList graticuleChoices() {
    QStringList items{QStringLiteral("авто"), QStringLiteral("без линий (только засечки)")};
    for (const int minutes : kGraticuleMinutes) {
        items << (minutes % 60 == 0 ? QStringLiteral("%1°").arg(minutes / 60)
                                    : QStringLiteral("%1′").arg(minutes));
    }
    return items;
}
constexpr int kGraticuleAuto = 0;
constexpr int kGraticuleOff = 1;
constexpr int kGraticuleFirstInterval = 2;

QComboBox* choiceBox(const QStringList& items, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->addItems(items);
    return box;
}

}  // namespace

FigureDialog::FigureDialog(const Source& source, Hooks hooks, QWidget* parent)
    : QDialog(parent),
      source_(source),
      hooks_(std::move(hooks)),
      table_(std::make_unique<PointTable>()),
      map_(source.figureMap ? source.figureMap : FigureMap::load(source.dataDir, source.map)),
      redrawTimer_(new QTimer(this)) {
    if (source.table) {
        const PointTable& t = *source.table;
        std::vector<QString> cells;
        cells.reserve(static_cast<std::size_t>(t.ColCount()) *
                      static_cast<std::size_t>(t.RowCount()));
        for (int c = 0; c < t.ColCount(); ++c) {
            for (int r = 0; r < t.RowCount(); ++r) {
                cells.push_back(t.cell(c, r));
            }
        }
        table_->replaceAll(t.ColCount(), t.RowCount(), std::move(cells));
    }
    redrawTimer_->setSingleShot(true);
    redrawTimer_->setInterval(kRedrawDelayMs);
    buildLayout();
    lbTableNote->setText(tableNote());
    lbTableNote->setVisible(!lbTableNote->text().isEmpty());

    FigureOptions base;
    base.dataDir = source.dataDir;
    base.map = source.map;
    base.layers = source.layers;
    const FigureSettings remembered = FigureSettings::load(base);
    lastFile_ = remembered.lastFile;
    setOptions(remembered.options);
    connectControls();
}

FigureDialog::~FigureDialog() {
    rememberSettings();
}

void FigureDialog::rememberSettings() const {
    FigureSettings{options(), lastFile_}.save();
}

void FigureDialog::buildLayout() {
    setWindowTitle(QStringLiteral("Рисунок для статьи"));

    pvFigure = new FigurePreview(this);
    pvFigure->setMinimumSize(kPreviewMinWidth, kPreviewMinHeight);
    pvFigure->setToolTip(
        QStringLiteral("Обведите мышью область на карте, чтобы рисунок показал только её"));
    lbPointer = new QLabel(this);
    pointerMoved(std::nullopt);
    lbSize = new QLabel(this);
    lbError = new QLabel(this);
    lbError->setWordWrap(true);
    lbError->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lbError->setStyleSheet(QStringLiteral(
        "QLabel { color: #a00000; background: #fde8e8; border: 1px solid #c04040; padding: 4px; "
        "font-weight: bold; }"));
    lbError->hide();
    lbWarnings = new QLabel(this);
    lbWarnings->setWordWrap(true);
    lbWarnings->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lbWarnings->setStyleSheet(QStringLiteral(
        "QLabel { color: #6b4800; background: #fff4c8; border: 1px solid #c8a040; padding: 4px; "
        "}"));
    lbWarnings->hide();
    lbNames = new QLabel(this);
    lbNames->setWordWrap(true);
    lbNames->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lbNames->hide();

    auto* left = new QVBoxLayout;
    left->addWidget(pvFigure, 1);
    left->addWidget(lbPointer);
    left->addWidget(lbSize);
    left->addWidget(lbNames);
    left->addWidget(lbError);
    left->addWidget(lbWarnings);

    // Size.
    auto* sizeGroup = new QGroupBox(QStringLiteral("Размер"), this);
    cbPreset = new QComboBox(sizeGroup);
    cbPreset->addItem(QStringLiteral("свой размер"), QString());
    for (const FigurePreset& p : figurePresets()) {
        cbPreset->addItem(QStringLiteral("%1: %2 мм, %3 dpi")
                              .arg(QLatin1String(p.name), millimetres(p.widthMm))
                              .arg(p.dpi),
                          QString::fromLatin1(p.name));
    }
    edWidth = numberBox(20, 500, 1, 1, QStringLiteral("мм"), sizeGroup);
    edDpi = new QSpinBox(sizeGroup);
    edDpi->setRange(72, 2400);
    edDpi->setSingleStep(50);
    edDpi->setSuffix(QStringLiteral(" dpi"));
    auto* sizeForm = new QFormLayout(sizeGroup);
    sizeForm->addRow(QStringLiteral("Журнал"), cbPreset);
    sizeForm->addRow(QStringLiteral("Ширина"), edWidth);
    sizeForm->addRow(QStringLiteral("Разрешение"), edDpi);

    // Extent.
    auto* extentGroupBox = new QGroupBox(QStringLiteral("Область карты"), this);
    rbMap = new QRadioButton(QStringLiteral("вся карта"), extentGroupBox);
    rbPoints = new QRadioButton(QStringLiteral("по точкам, с полем"), extentGroupBox);
    rbBox = new QRadioButton(QStringLiteral("рамка в градусах"), extentGroupBox);
    extentGroup_ = new QButtonGroup(this);
    extentGroup_->addButton(rbMap, static_cast<int>(FigureExtent::WholeMap));
    extentGroup_->addButton(rbPoints, static_cast<int>(FigureExtent::Points));
    extentGroup_->addButton(rbBox, static_cast<int>(FigureExtent::Box));
    edMargin = numberBox(0, 100, 1, 5, QStringLiteral("%"), extentGroupBox);
    edSouth = numberBox(-90, 90, kBoxDecimals, 0.5, QStringLiteral("°"), extentGroupBox);
    edNorth = numberBox(-90, 90, kBoxDecimals, 0.5, QStringLiteral("°"), extentGroupBox);
    edWest = numberBox(-360, 360, kBoxDecimals, 0.5, QStringLiteral("°"), extentGroupBox);
    edEast = numberBox(-360, 360, kBoxDecimals, 0.5, QStringLiteral("°"), extentGroupBox);
    auto* pointsRow = new QHBoxLayout;
    pointsRow->addWidget(rbPoints);
    pointsRow->addWidget(edMargin);
    auto* box = new QFormLayout;
    box->addRow(QStringLiteral("юг"), edSouth);
    box->addRow(QStringLiteral("север"), edNorth);
    box->addRow(QStringLiteral("запад"), edWest);
    box->addRow(QStringLiteral("восток"), edEast);
    auto* drawHint =
        new QLabel(QStringLiteral("или обведите область мышью на просмотре"), extentGroupBox);
    QFont hintFont = drawHint->font();
    hintFont.setItalic(true);
    drawHint->setFont(hintFont);
    auto* extentLayout = new QVBoxLayout(extentGroupBox);
    extentLayout->addWidget(rbMap);
    extentLayout->addLayout(pointsRow);
    extentLayout->addWidget(rbBox);
    extentLayout->addLayout(box);
    extentLayout->addWidget(drawHint);

    // Markers, legend, scale bar, words.
    auto* looksGroup = new QGroupBox(QStringLiteral("Оформление"), this);
    edMarker = numberBox(0.5, 20, 2, 0.25, QStringLiteral("мм"), looksGroup);
    cbRed = new QCheckBox(QStringLiteral("красные"), looksGroup);
    auto* markerRow = new QHBoxLayout;
    markerRow->addWidget(edMarker);
    markerRow->addWidget(cbRed);
    cbLegend = choiceBox(kCornerNames, looksGroup);
    cbItalic = new QCheckBox(QStringLiteral("названия курсивом"), looksGroup);
    edFont = numberBox(4, 24, 1, 0.5, QStringLiteral("пт"), looksGroup);
    cbScaleBar = choiceBox(kCornerNames, looksGroup);
    cbLanguage = choiceBox(
        {QStringLiteral("английский (km, 45°N)"), QStringLiteral("русский (км, 45° с.ш.)")},
        looksGroup);
    cbPanels = new QCheckBox(QStringLiteral("отдельная панель на каждый столбец"), looksGroup);
    cbScaleBarStyle = choiceBox(
        {QStringLiteral("сплошная"), QStringLiteral("с делениями 0, половина, конец")}, looksGroup);
    auto* looksForm = new QFormLayout(looksGroup);
    looksForm->addRow(QStringLiteral("Значки"), markerRow);
    looksForm->addRow(QStringLiteral("Легенда"), cbLegend);
    looksForm->addRow(QString(), cbItalic);
    looksForm->addRow(QStringLiteral("Шрифт"), edFont);
    looksForm->addRow(QStringLiteral("Масштаб"), cbScaleBar);
    looksForm->addRow(QString(), cbScaleBarStyle);
    looksForm->addRow(QStringLiteral("Подписи"), cbLanguage);
    looksForm->addRow(QString(), cbPanels);

    // The map's projection, graticule, north arrow and inset.
    auto* mapGroup = new QGroupBox(QStringLiteral("Карта"), this);
    cbProjection = choiceBox({QStringLiteral("север вверху (коническая по рамке)"),
                              QStringLiteral("как в окне программы")},
                             mapGroup);
    cbGraticule = choiceBox(graticuleChoices(), mapGroup);
    cbAllSides = new QCheckBox(QStringLiteral("подписи на всех четырёх сторонах"), mapGroup);
    cbNorthArrow = choiceBox(kCornerNames, mapGroup);
    cbNorthArrow->setItemText(static_cast<int>(FigureCorner::Auto),
                              QStringLiteral("авто (когда нет линий сетки)"));
    cbInset = choiceBox(kCornerNames, mapGroup);
    auto* mapForm = new QFormLayout(mapGroup);
    mapForm->addRow(QStringLiteral("Проекция"), cbProjection);
    mapForm->addRow(QStringLiteral("Сетка"), cbGraticule);
    mapForm->addRow(QString(), cbAllSides);
    mapForm->addRow(QStringLiteral("Стрелка севера"), cbNorthArrow);
    mapForm->addRow(QStringLiteral("Врезка всей карты"), cbInset);

    // Names on the map, the divisions' year and the points' numbers.
    auto* namesGroup = new QGroupBox(QStringLiteral("Названия и номера"), this);
    cbCountryNames = new QCheckBox(QStringLiteral("названия стран"), namesGroup);
    cbDivisionNames =
        new QCheckBox(source_.map == kMapVietnam ? QStringLiteral("названия провинций")
                                                 : QStringLiteral("названия краёв и областей"),
                      namesGroup);
    cbDivisions = choiceBox({QStringLiteral("нынешние (с 1 июля 2025)"),
                             QStringLiteral("2008–2025 (63 провинции Вьетнама)")},
                            namesGroup);
    cbDivisions->setEnabled(hasDivisions2008());
    if (!hasDivisions2008()) {
        cbDivisions->setToolTip(QStringLiteral("Границы 2008 года есть только у карты «%1»")
                                    .arg(kMapCaptions.value(kMapVietnam)));
    }
    cbNumbers = choiceBox({QStringLiteral("нет"), QStringLiteral("с 1 в каждом столбце"),
                           QStringLiteral("подряд во всех столбцах")},
                          namesGroup);
    auto* namesForm = new QFormLayout(namesGroup);
    namesForm->addRow(QString(), cbCountryNames);
    namesForm->addRow(QString(), cbDivisionNames);
    namesForm->addRow(QStringLiteral("Границы"), cbDivisions);
    namesForm->addRow(QStringLiteral("Номера точек"), cbNumbers);

    // File.
    auto* fileGroup = new QGroupBox(QStringLiteral("Файл"), this);
    cbFormat = choiceBox(kFormatNames, fileGroup);
    bSave = new QPushButton(QStringLiteral("Сохранить…"), fileGroup);
    bSave->setDefault(true);
    auto* fileRow = new QHBoxLayout(fileGroup);
    fileRow->addWidget(cbFormat, 1);
    fileRow->addWidget(bSave);

    auto* right = new QVBoxLayout;
    right->addWidget(sizeGroup);
    right->addWidget(extentGroupBox);
    right->addWidget(fileGroup);
    right->addStretch(1);
    auto* farRight = new QVBoxLayout;
    farRight->addWidget(looksGroup);
    farRight->addWidget(mapGroup);
    farRight->addWidget(namesGroup);
    farRight->addStretch(1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 0);
    columns->addLayout(farRight, 0);

    // The command line.
    auto* commandLabel = new QLabel(QStringLiteral("Та же команда для zelkora-cli:"), this);
    lbTableNote = new QLabel(this);
    lbTableNote->setWordWrap(true);
    lbTableNote->setStyleSheet(QStringLiteral("QLabel { color: #6b4800; }"));
    mmCommand = new QPlainTextEdit(this);
    mmCommand->setReadOnly(true);
    mmCommand->setFixedHeight(mmCommand->fontMetrics().lineSpacing() * 3 + 12);
    bCopy = new QPushButton(QStringLiteral("Копировать"), this);
    bClose = new QPushButton(QStringLiteral("Закрыть"), this);
    bClose->setAutoDefault(false);
    bCopy->setAutoDefault(false);
    auto* commandRow = new QHBoxLayout;
    commandRow->addWidget(mmCommand, 1);
    auto* commandButtons = new QVBoxLayout;
    commandButtons->addWidget(bCopy);
    commandButtons->addStretch(1);
    commandButtons->addWidget(bClose);
    commandRow->addLayout(commandButtons);

    auto* all = new QVBoxLayout(this);
    all->addLayout(columns, 1);
    all->addWidget(commandLabel);
    all->addWidget(lbTableNote);
    all->addLayout(commandRow);

    // A stray wheel notch changes no setting.
    for (QWidget* control : std::initializer_list<QWidget*>{
             cbPreset,   edWidth,     edDpi,           edMargin,     edSouth,     edNorth,
             edWest,     edEast,      edMarker,        cbLegend,     edFont,      cbScaleBar,
             cbLanguage, cbFormat,    cbScaleBarStyle, cbProjection, cbGraticule, cbNorthArrow,
             cbInset,    cbDivisions, cbNumbers}) {
        WheelGuard::install(control);
    }
}

void FigureDialog::connectControls() {
    connect(redrawTimer_, &QTimer::timeout, this, [this] { redraw(); });
    const auto changed = [this] { scheduleRedraw(); };
    connect(cbPreset, &QComboBox::currentIndexChanged, this, [this] { presetChosen(); });
    connect(edWidth, &QDoubleSpinBox::valueChanged, this, [this] { sizeEdited(); });
    connect(edDpi, &QSpinBox::valueChanged, this, [this] { sizeEdited(); });
    connect(extentGroup_, &QButtonGroup::idClicked, this, [this] { extentChosen(); });
    for (QDoubleSpinBox* box : {edMargin, edSouth, edNorth, edWest, edEast, edMarker, edFont}) {
        connect(box, &QDoubleSpinBox::valueChanged, this, changed);
    }
    for (QCheckBox* box :
         {cbRed, cbItalic, cbPanels, cbAllSides, cbCountryNames, cbDivisionNames}) {
        connect(box, &QCheckBox::toggled, this, changed);
    }
    for (QComboBox* box :
         {cbLegend, cbScaleBar, cbLanguage, cbFormat, cbScaleBarStyle, cbProjection, cbGraticule,
          cbNorthArrow, cbInset, cbDivisions, cbNumbers}) {
        connect(box, &QComboBox::currentIndexChanged, this, changed);
    }
    connect(bSave, &QPushButton::clicked, this, [this] { saveClick(); });
    connect(bCopy, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(commandLine()); });
    connect(bClose, &QPushButton::clicked, this, &QDialog::reject);

    pvFigure->setOnFrame([this](QPointF mm) { return frameAt(mm); });
    pvFigure->setOnRectangle([this](const QRectF& mm) { rectangleDrawn(mm); });
    pvFigure->setOnPointer([this](std::optional<QPointF> mm) { pointerMoved(mm); });
    // A new size of the preview draws it anew at its new resolution.
    pvFigure->setOnResize([this] { scheduleRedraw(); });
}

// ---- Settings -----------------------------------------------------------------------------

FigureOptions FigureDialog::options() const {
    FigureOptions o;
    o.dataDir = source_.dataDir;
    o.map = source_.map;
    o.layers = source_.layers;
    const QString presetName = cbPreset->currentData().toString();
    if (!presetName.isEmpty()) {
        applyFigurePreset(o, presetName);
    }
    o.widthMm = edWidth->value();
    o.dpi = edDpi->value();
    o.extent = static_cast<FigureExtent>(extentGroup_->checkedId());
    o.marginPercent = edMargin->value();
    o.box = {edSouth->value(), edWest->value(), edNorth->value(), edEast->value()};
    o.markerMm = edMarker->value();
    o.red = cbRed->isChecked();
    o.legend = static_cast<FigureCorner>(cbLegend->currentIndex());
    o.italic = cbItalic->isChecked();
    o.fontPt = edFont->value();
    o.scaleBar = static_cast<FigureCorner>(cbScaleBar->currentIndex());
    o.language =
        cbLanguage->currentIndex() == 1 ? FigureLanguage::Russian : FigureLanguage::English;
    o.panels = cbPanels->isChecked();
    o.format = static_cast<FigureFormat>(cbFormat->currentIndex());
    o.scaleBarStyle = static_cast<ScaleBarStyle>(cbScaleBarStyle->currentIndex());
    o.projection = static_cast<FigureProjectionKind>(cbProjection->currentIndex());
    const int graticule = cbGraticule->currentIndex();
    o.graticuleLines = graticule != kGraticuleOff;
    o.graticuleMinutes =
        graticule >= kGraticuleFirstInterval
            ? kGraticuleMinutes[static_cast<std::size_t>(graticule - kGraticuleFirstInterval)]
            : kAutoGraticule;
    o.labelAllSides = cbAllSides->isChecked();
    o.northArrow = static_cast<FigureCorner>(cbNorthArrow->currentIndex());
    o.inset = static_cast<FigureCorner>(cbInset->currentIndex());
    o.nameCountries = cbCountryNames->isChecked();
    o.nameDivisions = cbDivisionNames->isChecked();
    o.divisions = hasDivisions2008() ? static_cast<FigureDivisions>(cbDivisions->currentIndex())
                                     : FigureDivisions::Current;
    o.numbering = static_cast<PointNumbering>(cbNumbers->currentIndex());
    return o;
}

void FigureDialog::setOptions(const FigureOptions& o) {
    {
        QList<QObject*> controls;
        for (QWidget* control : findChildren<QWidget*>()) {
            controls << control;
        }
        const Quiet quiet(controls << extentGroup_);
        // A preset stands for its size: other numbers are a size of the user's own.
        const FigurePreset* p = findFigurePreset(o.preset);
        const bool presetSize = p && p->widthMm == o.widthMm && p->dpi == o.dpi;
        cbPreset->setCurrentIndex(presetSize ? cbPreset->findData(o.preset) : 0);
        edWidth->setValue(o.widthMm);
        edDpi->setValue(static_cast<int>(std::lround(o.dpi)));
        extentGroup_->button(static_cast<int>(o.extent))->setChecked(true);
        edMargin->setValue(o.marginPercent);
        setBox(o.box);
        edMarker->setValue(o.markerMm);
        cbRed->setChecked(o.red);
        cbLegend->setCurrentIndex(static_cast<int>(o.legend));
        cbItalic->setChecked(o.italic);
        edFont->setValue(o.fontPt);
        cbScaleBar->setCurrentIndex(static_cast<int>(o.scaleBar));
        cbLanguage->setCurrentIndex(o.language == FigureLanguage::Russian ? 1 : 0);
        cbPanels->setChecked(o.panels);
        cbFormat->setCurrentIndex(static_cast<int>(o.format));
        cbScaleBarStyle->setCurrentIndex(static_cast<int>(o.scaleBarStyle));
        cbProjection->setCurrentIndex(static_cast<int>(o.projection));
        int graticule = o.graticuleLines ? kGraticuleAuto : kGraticuleOff;
        const auto* interval =
            std::find(kGraticuleMinutes.begin(), kGraticuleMinutes.end(), o.graticuleMinutes);
        if (o.graticuleLines && interval != kGraticuleMinutes.end()) {
            graticule = kGraticuleFirstInterval +
                        static_cast<int>(std::distance(kGraticuleMinutes.begin(), interval));
        }
        cbGraticule->setCurrentIndex(graticule);
        cbAllSides->setChecked(o.labelAllSides);
        cbNorthArrow->setCurrentIndex(static_cast<int>(o.northArrow));
        cbInset->setCurrentIndex(static_cast<int>(o.inset));
        cbCountryNames->setChecked(o.nameCountries);
        cbDivisionNames->setChecked(o.nameDivisions);
        cbDivisions->setCurrentIndex(hasDivisions2008() ? static_cast<int>(o.divisions) : 0);
        cbNumbers->setCurrentIndex(static_cast<int>(o.numbering));
    }
    updateEnabled();
    scheduleRedraw();
}

void FigureDialog::setBox(const DegreeBox& box) {
    edSouth->setValue(box.south);
    edWest->setValue(box.west);
    edNorth->setValue(box.north);
    edEast->setValue(box.east);
}

void FigureDialog::updateEnabled() {
    edMargin->setEnabled(rbPoints->isChecked());
    for (QDoubleSpinBox* side : {edSouth, edNorth, edWest, edEast}) {
        side->setEnabled(rbBox->isChecked());
    }
}

void FigureDialog::presetChosen() {
    const QString name = cbPreset->currentData().toString();
    if (const FigurePreset* p = findFigurePreset(name)) {
        const QSignalBlocker quietWidth(edWidth);
        const QSignalBlocker quietDpi(edDpi);
        edWidth->setValue(p->widthMm);
        edDpi->setValue(static_cast<int>(std::lround(p->dpi)));
    }
    scheduleRedraw();
}

// A width or a dpi of the user's own is no longer the preset's size, nor held to its limits.
void FigureDialog::sizeEdited() {
    const FigurePreset* p = findFigurePreset(cbPreset->currentData().toString());
    if (p && (p->widthMm != edWidth->value() || p->dpi != edDpi->value())) {
        const QSignalBlocker quiet(cbPreset);
        cbPreset->setCurrentIndex(0);
    }
    scheduleRedraw();
}

// A box chosen while it is no box starts as the part of the map the preview shows, or the
// whole map when it shows none.
void FigureDialog::extentChosen() {
    const DegreeBox b = options().box;
    if (rbBox->isChecked() && !(b.south < b.north && b.west < b.east)) {
        const Quiet quiet({edSouth, edNorth, edWest, edEast});
        setBox(layout_ ? degreeBoxFor(layout_->projection, *map_, layout_->extent)
                       : map_->pictureBox());
    }
    updateEnabled();
    scheduleRedraw();
}

// ---- The preview --------------------------------------------------------------------------

// The first preview is drawn as soon as the dialog is laid out: the pause is for changes.
void FigureDialog::scheduleRedraw() {
    redrawTimer_->start(redraws_ == 0 ? 0 : kRedrawDelayMs);
}

void FigureDialog::redrawNow() {
    redrawTimer_->stop();
    redraw();
}

void FigureDialog::redraw() {
    ++redraws_;
    // The place under the pointer is the new figure's from its next move.
    pointerMoved(std::nullopt);
    const FigureOptions o = options();
    mmCommand->setPlainText(commandLine());
    try {
        layout_ = layOutFigure(o, *map_, *table_);
        const double ratio = pvFigure->devicePixelRatioF();
        QImage picture =
            renderFigure(*layout_, *map_, pvFigure->fittingDpi(layout_->pageMm) * ratio);
        picture.setDevicePixelRatio(ratio);
        pvFigure->setPicture(picture, layout_->pageMm);
        lbSize->setText(
            QStringLiteral("%1 × %2 мм, %3 × %4 пикселей при %5 dpi; точек на рисунке: %6")
                .arg(millimetres(layout_->pageMm.width()), millimetres(layout_->pageMm.height()))
                .arg(layout_->pixels.width())
                .arg(layout_->pixels.height())
                .arg(o.dpi)
                .arg(layout_->drawn.size()));
        lbError->hide();
        bSave->setEnabled(true);
        showWarnings(*layout_);
        showNames(*layout_);
    } catch (...) {
        layout_.reset();
        const QString text = messageOfCurrentError();
        pvFigure->clearPicture(QStringLiteral("Рисунка нет: исправьте настройки"));
        lbSize->clear();
        lbError->setText(text);
        lbError->show();
        lbWarnings->hide();
        lbNames->hide();
        bSave->setEnabled(false);
    }
}

void FigureDialog::showWarnings(const FigureLayout& layout) {
    QStringList lines = layout.warnings;
    if (!layout.leftOut.empty()) {
        lines << QStringLiteral("Не нарисовано точек: %1").arg(layout.leftOut.size());
        int named = 0;
        for (const LeftOutPoint& l : layout.leftOut) {
            if (named++ == kNamedLeftOut) {
                lines << QStringLiteral("    и ещё %1").arg(layout.leftOut.size() - kNamedLeftOut);
                break;
            }
            lines << QStringLiteral("    столбец %1, строка %2 (%3, %4): %5")
                         .arg(l.point.column + 1)
                         .arg(l.point.row + 1)
                         .arg(l.point.geo.lat, 0, 'f', 6)
                         .arg(l.point.geo.lon, 0, 'f', 6)
                         .arg(l.reason);
        }
    }
    lbWarnings->setText(lines.join(QLatin1Char('\n')));
    lbWarnings->setVisible(!lines.isEmpty());
}

// The names written, those that found no room, how many lie outside the frame, and where the
// numbers' key goes.
void FigureDialog::showNames(const FigureLayout& layout) {
    QStringList lines;
    const FigureOptions& o = layout.options;
    if (o.nameCountries || o.nameDivisions) {
        QStringList drawn;
        for (const PlaceName& n : layout.names) {
            if (!drawn.contains(n.text)) {
                drawn << n.text;
            }
        }
        QStringList noRoom;
        int outside = 0;
        for (const LeftOutName& n : layout.namesLeftOut) {
            if (n.outside) {
                ++outside;
            } else if (!noRoom.contains(n.text)) {
                noRoom << n.text;
            }
        }
        lines << QStringLiteral("Подписано названий: %1%2")
                     .arg(drawn.size())
                     .arg(drawn.isEmpty()
                              ? QString()
                              : QStringLiteral(" (%1)").arg(drawn.join(QStringLiteral(", "))));
        if (!noRoom.isEmpty()) {
            lines << QStringLiteral("Не хватило места: %1").arg(noRoom.join(QStringLiteral(", ")));
        }
        if (outside > 0) {
            lines << QStringLiteral("Вне рамки: %1").arg(outside);
        }
    }
    if (!layout.numbers.empty()) {
        lines << QStringLiteral(
                     "Точки пронумерованы (%1); ключ для подписи к рисунку "
                     "запишется рядом с ним: «%2»")
                     .arg(layout.numbers.size())
                     .arg(QFileInfo(keyFile()).fileName());
    }
    lbNames->setText(lines.join(QLatin1Char('\n')));
    lbNames->setVisible(!lines.isEmpty());
}

// The panel's frame under a point of the page, where a rectangle may be drawn.
std::optional<QRectF> FigureDialog::frameAt(QPointF mm) const {
    if (!layout_) {
        return std::nullopt;
    }
    for (const FigurePanel& panel : layout_->panels) {
        if (panel.frame.contains(mm)) {
            return panel.frame;
        }
    }
    return std::nullopt;
}

void FigureDialog::rectangleDrawn(const QRectF& mm) {
    if (!layout_) {
        return;
    }
    for (const FigurePanel& panel : layout_->panels) {
        if (!panel.frame.contains(mm.center())) {
            continue;
        }
        const QRectF plane = layout_->mmFromPlane(panel).inverted().mapRect(mm);
        {
            const Quiet quiet({edSouth, edNorth, edWest, edEast, extentGroup_});
            setBox(degreeBoxFor(layout_->projection, *map_, plane));
            rbBox->setChecked(true);
        }
        updateEnabled();
        redrawNow();
        return;
    }
}

void FigureDialog::pointerMoved(std::optional<QPointF> mm) {
    if (mm && layout_) {
        for (const FigurePanel& panel : layout_->panels) {
            if (panel.frame.contains(*mm)) {
                const QPointF plane = layout_->mmFromPlane(panel).inverted().map(*mm);
                const GeoPoint at = layout_->projection.toGeo(plane);
                lbPointer->setText(QStringLiteral("%1, %2")
                                       .arg(at.lat, 0, 'f', 4)
                                       .arg(std::remainder(at.lon, 360.0), 0, 'f', 4));
                return;
            }
        }
    }
    lbPointer->setText(
        QStringLiteral("Обведите мышью область на карте, чтобы рисунок показал только её"));
}

// ---- The file and the command line --------------------------------------------------------

QString FigureDialog::outFile() const {
    const FigureFormat f = static_cast<FigureFormat>(cbFormat->currentIndex());
    const QString suffix = FileDialogs::figureSuffix(f);
    if (lastFile_.isEmpty()) {
        return QStringLiteral("рисунок.") + suffix;
    }
    const QFileInfo last(lastFile_);
    if (figureFormatFromExtension(lastFile_) == f) {
        return lastFile_;
    }
    return last.dir().filePath(last.completeBaseName() + QLatin1Char('.') + suffix);
}

bool FigureDialog::hasDivisions2008() const {
    return map_ && map_->hasDivisions2008();
}

QString FigureDialog::keyFile() const {
    const QFileInfo figure(outFile());
    const QString name = figure.completeBaseName() + QStringLiteral("-key.csv");
    return lastFile_.isEmpty() ? name : figure.dir().filePath(name);
}

// The command line reads the table from its file: a table never saved, or changed since, draws
// other points there than here.
QString FigureDialog::tableNote() const {
    if (source_.tableFile.isEmpty()) {
        return QStringLiteral(
                   "Таблица не сохранена: сохраните её («Сохранить таблицу») и "
                   "поставьте её файл в команду вместо «%1».")
            .arg(kUnsavedTable);
    }
    PointTable saved;
    try {
        LoadStringGrid(saved, source_.tableFile);
    } catch (const ZelkoraError&) {
        return QStringLiteral(
                   "Файл таблицы «%1» не читается: сохраните таблицу снова, чтобы "
                   "команда нарисовала те же точки.")
            .arg(source_.tableFile);
    }
    // Empty rows and columns beyond either table's edge hold nothing.
    const int cols = std::max(saved.ColCount(), table_->ColCount());
    const int rows = std::max(saved.RowCount(), table_->RowCount());
    for (int c = 0; c < cols; ++c) {
        for (int r = 0; r < rows; ++r) {
            if (saved.cell(c, r) != table_->cell(c, r)) {
                return QStringLiteral(
                           "Таблица изменена после сохранения в «%1»: сохраните её, "
                           "чтобы команда нарисовала те же точки.")
                    .arg(source_.tableFile);
            }
        }
    }
    return {};
}

QStringList FigureDialog::commandWords() const {
    FigureOptions o = options();
    // zelkora-cli finds the maps beside itself, where the window finds them.
    if (o.dataDir == programFolder()) {
        o.dataDir.clear();
    }
    QStringList words = QStringList{QStringLiteral("figure")} + figureArgs(o) +
                        QStringList{QStringLiteral("--table"),
                                    source_.tableFile.isEmpty() ? kUnsavedTable : source_.tableFile,
                                    QStringLiteral("--out"), outFile()};
    if (o.numbering != PointNumbering::None) {
        words << QStringLiteral("--key") << keyFile();
    }
    return words;
}

QString FigureDialog::commandLine() const {
    QStringList words{QStringLiteral("zelkora-cli")};
    for (const QString& word : commandWords()) {
        words << shellWord(word);
    }
    return words.join(QLatin1Char(' '));
}

void FigureDialog::saveClick() {
    const FigureTarget last{outFile(), static_cast<FigureFormat>(cbFormat->currentIndex())};
    const std::optional<FigureTarget> target =
        hooks_.saveName ? hooks_.saveName(last) : FileDialogs::saveFigureName(this, last);
    if (!target) {
        return;
    }
    const FigureFormat chosen =
        figureFormatFromExtension(target->fileName).value_or(target->format);
    {
        const QSignalBlocker quiet(cbFormat);
        cbFormat->setCurrentIndex(static_cast<int>(chosen));
    }
    lastFile_ = target->fileName;
    rememberSettings();
    // The file is drawn from the settings as they stand now, with no redraw still waiting.
    redrawNow();
    if (!layout_) {
        return;
    }
    const bool numbered = !layout_->numbers.empty();
    // The save dialog asked about the figure's file; the key beside it would replace a file
    // without a word. Nothing is written unless the user lets it go.
    if (numbered && QFileInfo::exists(keyFile()) &&
        !(hooks_.replaceKey ? hooks_.replaceKey(keyFile())
                            : FileDialogs::replaceBesideFile(this, keyFile()))) {
        lbSize->setText(lbSize->text() + QStringLiteral("\nНе сохранено: ключ номеров ") +
                        keyFile() + QStringLiteral(" уже есть"));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        writeFigure(*layout_, *map_, lastFile_);
        if (numbered) {
            writePointKey(*layout_, keyFile());
        }
        QApplication::restoreOverrideCursor();
    } catch (...) {
        QApplication::restoreOverrideCursor();
        lbError->setText(messageOfCurrentError());
        lbError->show();
        return;
    }
    lbError->hide();
    lbSize->setText(lbSize->text() + QStringLiteral("\nСохранено: ") + lastFile_ +
                    (numbered ? QStringLiteral(", ключ номеров: ") + keyFile() : QString()));
}

}  // namespace zelkora
