#include "shell/ImportDialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>

#include "common/ShellWords.h"
#include "common/VisibleText.h"
#include "common/ZelkoraError.h"
#include "mapimage/DataPaths.h"
#include "shell/WheelGuard.h"
#include "table/HeaderRow.h"
#include "table/PointTable.h"

namespace zelkora {

namespace {

constexpr int kNone = -1;

QString columnItem(const QStringList& columns, int i) {
    const QString name = columns[i].trimmed();
    return name.isEmpty() ? QStringLiteral("№%1 (без имени)").arg(i + 1)
                          : QStringLiteral("«%1»").arg(visibleText(name));
}

void fillColumnCombo(QComboBox* combo, const QStringList& columns, const QString& none) {
    const QSignalBlocker quiet(combo);
    combo->clear();
    combo->addItem(none, kNone);
    for (int i = 0; i < columns.size(); ++i) {
        combo->addItem(columnItem(columns, i), i);
    }
}

void chooseColumn(QComboBox* combo, int column) {
    const QSignalBlocker quiet(combo);
    combo->setCurrentIndex(std::max(0, combo->findData(column)));
}

int chosenColumn(const QComboBox* combo) {
    return combo->currentData().toInt();
}

}  // namespace

const QString ImportDialog::kUnsavedTable = QStringLiteral("таблица.points");

ImportDialog::ImportDialog(Source source, QWidget* parent)
    : QDialog(parent), source_(std::move(source)), plan_(source_.plan) {
    setObjectName(QStringLiteral("importDialog"));
    setWindowTitle(QStringLiteral("Импорт точек"));
    buildLayout();
    fillColumns();
    replan();
}

void ImportDialog::buildLayout() {
    auto* layout = new QVBoxLayout(this);
    lbFormat = new QLabel(this);
    lbFormat->setWordWrap(true);
    lbFormat->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(lbFormat);

    twSample = new QTableWidget(this);
    twSample->setEditTriggers(QAbstractItemView::NoEditTriggers);
    twSample->setSelectionMode(QAbstractItemView::NoSelection);
    twSample->verticalHeader()->hide();
    twSample->setWordWrap(false);
    twSample->setMinimumHeight(170);
    layout->addWidget(twSample, 2);

    // The columns: coordinates and groups.
    auto* columns = new QGroupBox(QStringLiteral("Столбцы"), this);
    columnsBox_ = columns;
    auto* columnsLayout = new QFormLayout(columns);
    rbPair = new QRadioButton(QStringLiteral("Широта и долгота:"), columns);
    cbLat = new QComboBox(columns);
    cbLon = new QComboBox(columns);
    auto* pair = new QHBoxLayout;
    pair->addWidget(cbLat, 1);
    pair->addWidget(cbLon, 1);
    columnsLayout->addRow(rbPair, pair);
    rbText = new QRadioButton(QStringLiteral("Координаты текстом:"), columns);
    cbText = new QComboBox(columns);
    columnsLayout->addRow(rbText, cbText);
    coordinateGroup_ = new QButtonGroup(this);
    coordinateGroup_->addButton(rbPair);
    coordinateGroup_->addButton(rbText);
    cbGroup = new QComboBox(columns);
    columnsLayout->addRow(QStringLiteral("Группы (виды) по столбцу:"), cbGroup);
    layout->addWidget(columns);

    // The groups and where they go.
    auto* groups = new QGroupBox(QStringLiteral("Группы и типы маркеров"), this);
    auto* groupsLayout = new QVBoxLayout(groups);
    twGroups = new QTreeWidget(groups);
    twGroups->setRootIsDecorated(false);
    twGroups->setHeaderLabels(
        {QStringLiteral("Группа"), QStringLiteral("Записей"), QStringLiteral("Тип маркеров")});
    twGroups->setMinimumHeight(110);
    twGroups->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    twGroups->header()->setStretchLastSection(false);
    twGroups->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    twGroups->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    groupsLayout->addWidget(twGroups, 1);
    lbGroups = new QLabel(groups);
    groupsLayout->addWidget(lbGroups);
    auto* columnRow = new QHBoxLayout;
    columnLabel_ = new QLabel(QStringLiteral("Все точки — в столбец:"), groups);
    cbColumn = new QComboBox(groups);
    cbColumn->addItems(markerTypeNames());
    columnRow->addWidget(columnLabel_);
    columnRow->addWidget(cbColumn, 1);
    groupsLayout->addLayout(columnRow);
    layout->addWidget(groups, 1);

    // The map and the points off it.
    auto* map = new QGroupBox(QStringLiteral("Карта"), this);
    auto* mapLayout = new QFormLayout(map);
    cbMap = new QComboBox(map);
    for (int m = 0; m < kMapCount; ++m) {
        cbMap->addItem(kMapCaptions[m], m);
    }
    mapLayout->addRow(QStringLiteral("Точки — на карту:"), cbMap);
    rbDrop = new QRadioButton(map);
    rbKeep = new QRadioButton(QStringLiteral("Вставить в таблицу и точки вне карт"), map);
    rbDrop->setChecked(true);
    mapLayout->addRow(rbDrop);
    mapLayout->addRow(rbKeep);
    layout->addWidget(map);

    lbMessage = new QLabel(this);
    lbMessage->setWordWrap(true);
    lbMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette red = lbMessage->palette();
    red.setColor(QPalette::WindowText, QColor(180, 0, 0));
    lbMessage->setPalette(red);
    // Room for a message of three lines, kept while there is none: the controls stay where
    // they are as messages come and go.
    lbMessage->setMinimumHeight(3 * lbMessage->fontMetrics().lineSpacing());
    layout->addWidget(lbMessage);

    auto* command = new QHBoxLayout;
    edCommand = new QLineEdit(this);
    edCommand->setReadOnly(true);
    bCopy = new QPushButton(QStringLiteral("Копировать"), this);
    command->addWidget(new QLabel(QStringLiteral("Командная строка:"), this));
    command->addWidget(edCommand, 1);
    command->addWidget(bCopy);
    layout->addLayout(command);

    auto* buttons = new QDialogButtonBox(this);
    bImport = buttons->addButton(QStringLiteral("Импортировать"), QDialogButtonBox::AcceptRole);
    bImport->setDefault(true);
    bCancel = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);

    for (QWidget* selector : {static_cast<QWidget*>(cbLat), static_cast<QWidget*>(cbLon),
                              static_cast<QWidget*>(cbText), static_cast<QWidget*>(cbGroup),
                              static_cast<QWidget*>(cbColumn), static_cast<QWidget*>(cbMap)}) {
        WheelGuard::install(selector);
    }

    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (canImport()) {
            accept();
        }
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(bCopy, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(commandLine()); });
    for (QComboBox* combo : {cbLat, cbLon, cbText, cbGroup}) {
        connect(combo, &QComboBox::currentIndexChanged, this, [this] {
            if (!filling_) {
                replan();
            }
        });
    }
    connect(coordinateGroup_, &QButtonGroup::buttonToggled, this,
            [this](QAbstractButton*, bool checked) {
                if (checked && !filling_) {
                    replan();
                }
            });
    // A column chosen in a list chooses the way of giving coordinates that the list belongs to.
    for (QComboBox* combo : {cbLat, cbLon}) {
        connect(combo, &QComboBox::activated, rbPair, [this] {
            if (!rbPair->isChecked()) {
                rbPair->setChecked(true);
            }
        });
    }
    connect(cbText, &QComboBox::activated, rbText, [this] {
        if (!rbText->isChecked()) {
            rbText->setChecked(true);
        }
    });
    connect(cbColumn, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    connect(cbMap, &QComboBox::currentIndexChanged, this, [this] {
        if (!filling_) {
            mapTouched_ = true;
            refresh();
        }
    });
    connect(rbDrop, &QRadioButton::toggled, this, [this] { refresh(); });
    connect(twGroups, &QTreeWidget::itemChanged, this, [this] {
        if (!filling_) {
            groupsTouched_ = true;
            refresh();
        }
    });
    resize(820, 760);
}

// The combos list the header's columns, the ones found chosen.
void ImportDialog::fillColumns() {
    const ImportPlan& found = source_.plan;
    fillColumnCombo(cbLat, found.columns, QStringLiteral("широта: —"));
    fillColumnCombo(cbLon, found.columns, QStringLiteral("долгота: —"));
    fillColumnCombo(cbText, found.columns, QStringLiteral("—"));
    fillColumnCombo(cbGroup, found.columns, QStringLiteral("без групп: все точки в один столбец"));
    filling_ = true;
    chooseColumn(cbLat, found.latColumn);
    chooseColumn(cbLon, found.lonColumn);
    chooseColumn(cbText, found.textColumn);
    chooseColumn(cbGroup, found.groupColumn);
    (found.textColumn >= 0 && found.latColumn < 0 ? rbText : rbPair)->setChecked(true);
    cbColumn->setCurrentIndex(std::clamp(source_.column, 0, cbColumn->count() - 1));
    filling_ = false;
    // Only a delimited file has columns to choose from.
    columnsBox_->setVisible(!found.columns.isEmpty());
}

// The options the controls stand for: only what differs from what the file showed by itself,
// so that a column found is not pinned (its fallbacks stay) and the command line stays short.
ReadOptions ImportDialog::optionsFromControls() const {
    const ImportPlan& found = source_.plan;
    ReadOptions o = found.options;
    if (found.columns.isEmpty()) {
        return o;
    }
    const QStringList& columns = found.columns;
    if (rbPair->isChecked()) {
        const int lat = chosenColumn(cbLat);
        const int lon = chosenColumn(cbLon);
        if (lat >= 0 && lon >= 0 && (lat != found.latColumn || lon != found.lonColumn)) {
            o.latColumn = columns[lat];
            o.lonColumn = columns[lon];
        }
    } else {
        const int text = chosenColumn(cbText);
        if (text >= 0 && (text != found.textColumn || found.latColumn >= 0)) {
            o.coordColumn = columns[text];
        }
    }
    const int group = chosenColumn(cbGroup);
    if (group != found.groupColumn) {
        if (group < 0) {
            o.ungrouped = true;
        } else {
            o.groupBy = columns[group];
        }
    }
    return o;
}

void ImportDialog::replan() {
    error_.clear();
    const bool delimited = !source_.plan.columns.isEmpty();
    if (delimited && rbPair->isChecked() &&
        (chosenColumn(cbLat) < 0) != (chosenColumn(cbLon) < 0)) {
        error_ = QStringLiteral("Выберите оба столбца: и широты, и долготы.");
    }
    try {
        plan_ = planImport(source_.bytes, source_.fileName, optionsFromControls(), *source_.table,
                           onEitherMap(source_.pictures));
        if (plan_.kind == ImportKind::Refused && error_.isEmpty()) {
            error_ = plan_.refusal == Refusal::NoCoordinateColumns
                         ? plan_.message + QStringLiteral(" Выберите их в списках выше.")
                         : plan_.message;
        }
    } catch (const ZelkoraError& e) {
        plan_ = ImportPlan();
        error_ = e.message();
    }
    onMap_.assign(plan_.set.points.size(), {});
    for (std::size_t i = 0; i < plan_.set.points.size(); ++i) {
        const GeoPoint& p = plan_.set.points[i].point;
        for (int m = 0; m < kMapCount; ++m) {
            const std::optional<PictureBounds>& picture =
                source_.pictures[static_cast<std::size_t>(m)];
            onMap_[i][static_cast<std::size_t>(m)] = picture && picture->contains(p.lat, p.lon);
        }
    }
    fillSample();
    fillGroups();
    refresh();
}

void ImportDialog::fillSample() {
    const FileSample& sample = plan_.sample.columns.isEmpty() ? source_.plan.sample : plan_.sample;
    twSample->clear();
    twSample->setColumnCount(static_cast<int>(sample.columns.size()));
    twSample->setRowCount(static_cast<int>(sample.rows.size()));
    twSample->setHorizontalHeaderLabels(sample.columns);
    for (int r = 0; r < static_cast<int>(sample.rows.size()); ++r) {
        const QStringList& row = sample.rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < row.size() && c < sample.columns.size(); ++c) {
            twSample->setItem(r, c, new QTableWidgetItem(visibleText(row[c])));
        }
    }
    twSample->resizeColumnsToContents();
    for (int c = 0; c < twSample->columnCount(); ++c) {
        twSample->setColumnWidth(c, std::min(twSample->columnWidth(c), 260));
    }
}

void ImportDialog::fillGroups() {
    filling_ = true;
    twGroups->clear();
    const OccurrenceSet& set = plan_.set;
    for (qsizetype g = 0; g < set.groups.size(); ++g) {
        auto* item = new QTreeWidgetItem(twGroups);
        item->setText(0, visibleText(set.groups[g]));
        item->setText(1, QString::number(set.groupCounts[static_cast<std::size_t>(g)]));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setCheckState(0, Qt::Checked);
    }
    const bool grouped = !set.groupField.isEmpty();
    twGroups->setVisible(grouped);
    lbGroups->setVisible(grouped);
    cbColumn->setVisible(!grouped);
    columnLabel_->setVisible(!grouped);
    filling_ = false;
    groupsTouched_ = false;
}

void ImportDialog::updateGroups() {
    const OccurrenceSet& set = plan_.set;
    if (set.groupField.isEmpty() || twGroups->topLevelItemCount() != set.groups.size()) {
        return;
    }
    const std::vector<bool> out = leftOut();
    // Where every group would go: how many of them fit, and which keep a column of their own.
    const GroupColumns all = groupColumns(*source_.table, set, {}, out);
    groupLimit_ = static_cast<int>(std::count_if(all.columns.begin(), all.columns.end(),
                                                 [](int column) { return column >= 0; }));
    filling_ = true;
    if (!groupsTouched_) {
        // The groups whose columns the table holds already, then those with the most records,
        // as many as fit; among equals, the first in the file.
        std::vector<int> order(static_cast<std::size_t>(set.groups.size()));
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const auto ua = static_cast<std::size_t>(a);
            const auto ub = static_cast<std::size_t>(b);
            if (all.own[ua] != all.own[ub]) {
                return static_cast<bool>(all.own[ua]);
            }
            return set.groupCounts[ua] > set.groupCounts[ub];
        });
        int left = groupLimit_;
        for (const int g : order) {
            const bool take = all.emptied[static_cast<std::size_t>(g)] || left > 0;
            left -= take && !all.emptied[static_cast<std::size_t>(g)] ? 1 : 0;
            twGroups->topLevelItem(g)->setCheckState(0, take ? Qt::Checked : Qt::Unchecked);
        }
    }
    const QStringList chosen = checkedGroups();
    columns_ = chosen.isEmpty() ? GroupColumns{} : groupColumns(*source_.table, set, chosen, out);
    int count = 0;
    for (int g = 0; g < twGroups->topLevelItemCount(); ++g) {
        const bool emptied = all.emptied[static_cast<std::size_t>(g)];
        count += !emptied && twGroups->topLevelItem(g)->checkState(0) == Qt::Checked ? 1 : 0;
    }
    for (int g = 0; g < twGroups->topLevelItemCount(); ++g) {
        QTreeWidgetItem* item = twGroups->topLevelItem(g);
        const bool emptied = all.emptied[static_cast<std::size_t>(g)];
        const bool on = item->checkState(0) == Qt::Checked;
        // A group wholly off the map is left out with its points: there is nothing to choose.
        const bool open = !emptied && (count < groupLimit_ || on);
        item->setFlags(open ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable : Qt::NoItemFlags);
        const int column =
            columns_.columns.empty() ? -1 : columns_.columns[static_cast<std::size_t>(g)];
        item->setText(2, emptied ? QStringLiteral("все точки вне обеих карт")
                         : !on   ? QStringLiteral("не берётся")
                         : column >= 0 ? markerTypeName(column)
                                       : QStringLiteral("нет свободного столбца"));
    }
    filling_ = false;
    placeable_ = static_cast<int>(std::count(all.emptied.begin(), all.emptied.end(), false));
    const int placeable = placeable_;
    lbGroups->setText(all.missing
                          ? QStringLiteral("Групп %1, а столбцов для них в таблице %2: "
                                           "отмечено %3 из %2.")
                                .arg(placeable)
                                .arg(groupLimit_)
                                .arg(count)
                          : QStringLiteral("Групп %1, отмечено %2.").arg(placeable).arg(count));
}

QStringList ImportDialog::checkedGroups() const {
    QStringList names;
    for (int g = 0; g < twGroups->topLevelItemCount(); ++g) {
        if (twGroups->topLevelItem(g)->checkState(0) == Qt::Checked) {
            names << plan_.set.groups[g];
        }
    }
    return names;
}

bool ImportDialog::allGroupsChecked() const {
    return checkedGroups().size() == plan_.set.groups.size();
}

// A point on either map stays: the table keeps it for the map it lies on, which is a switch away.
std::vector<bool> ImportDialog::leftOut() const {
    std::vector<bool> out;
    if (!rbDrop->isChecked() || !anyPicture()) {
        return out;
    }
    out.resize(onMap_.size());
    for (std::size_t i = 0; i < onMap_.size(); ++i) {
        out[i] = std::none_of(onMap_[i].begin(), onMap_[i].end(), [](bool on) { return on; });
    }
    return out;
}

bool ImportDialog::anyPicture() const {
    return std::any_of(source_.pictures.begin(), source_.pictures.end(),
                       [](const std::optional<PictureBounds>& p) { return p.has_value(); });
}

std::vector<bool> ImportDialog::takenPoints() const {
    const OccurrenceSet& set = plan_.set;
    std::vector<bool> taken(set.points.size(), true);
    if (set.groupField.isEmpty() || twGroups->topLevelItemCount() != set.groups.size()) {
        return taken;
    }
    std::vector<bool> checked(static_cast<std::size_t>(set.groups.size()), false);
    for (int g = 0; g < twGroups->topLevelItemCount(); ++g) {
        checked[static_cast<std::size_t>(g)] =
            twGroups->topLevelItem(g)->checkState(0) == Qt::Checked;
    }
    for (std::size_t i = 0; i < set.points.size(); ++i) {
        const Occurrence& o = set.points[i];
        taken[i] = o.group >= 0 ? checked[static_cast<std::size_t>(o.group)] : o.marker >= 0;
    }
    return taken;
}

int ImportDialog::chosenMap() const {
    return cbMap->currentData().toInt();
}

bool ImportDialog::canImport() const {
    if (!error_.isEmpty() || plan_.kind == ImportKind::Refused) {
        return false;
    }
    if (plan_.set.groupField.isEmpty()) {
        return true;
    }
    return !checkedGroups().isEmpty() && !columns_.columns.empty() && !columns_.missing;
}

ImportChoices ImportDialog::choices() const {
    ImportChoices c;
    c.column = cbColumn->currentIndex();
    if (!plan_.set.groupField.isEmpty() && !allGroupsChecked()) {
        c.groups = checkedGroups();
    }
    c.offMap = rbDrop->isChecked() ? OffMap::Drop : OffMap::Keep;
    c.scope = OffMapScope::BothMaps;
    if (anyPicture()) {
        c.onMap = [pictures = source_.pictures](double lat, double lon) {
            return std::any_of(
                pictures.begin(), pictures.end(),
                [&](const std::optional<PictureBounds>& p) { return p && p->contains(lat, lon); });
        };
    }
    return c;
}

// Where the points that go in fall on each map.
MapTally ImportDialog::tally() const {
    const std::vector<bool> taken = takenPoints();
    const std::vector<bool> out = leftOut();
    MapTally tally;
    for (std::size_t i = 0; i < taken.size(); ++i) {
        if (!taken[i] || (!out.empty() && out[i])) {
            continue;
        }
        ++tally.points;
        for (int m = 0; m < kMapCount; ++m) {
            tally.onMap[static_cast<std::size_t>(m)] += onMap_[i][static_cast<std::size_t>(m)];
        }
    }
    return tally;
}

void ImportDialog::refresh() {
    if (filling_) {
        return;
    }
    filling_ = true;
    if (!mapTouched_) {
        // An empty table takes the map most of its points fall on; one with points keeps its
        // map, and the report offers the other.
        const std::optional<int> most = mapOfMost(tally());
        cbMap->setCurrentIndex(!source_.tableHoldsPoints && most ? *most : source_.map);
    }
    filling_ = false;
    updateGroups();
    const MapTally taken = tally();
    filling_ = true;
    for (int m = 0; m < kMapCount; ++m) {
        const bool known = source_.pictures[static_cast<std::size_t>(m)].has_value();
        cbMap->setItemText(m, known
                                  ? QStringLiteral("%1 — на ней %2 из %3 точек")
                                        .arg(kMapCaptions[m])
                                        .arg(taken.onMap[static_cast<std::size_t>(m)])
                                        .arg(taken.points)
                                  : QStringLiteral("%1 — рисунка карты нет").arg(kMapCaptions[m]));
    }
    filling_ = false;
    // Points off both maps, among those taken.
    qint64 off = 0;
    if (anyPicture()) {
        const std::vector<bool> takenNow = takenPoints();
        for (std::size_t i = 0; i < takenNow.size(); ++i) {
            off += takenNow[i] &&
                   std::none_of(onMap_[i].begin(), onMap_[i].end(), [](bool on) { return on; });
        }
    }
    rbDrop->setText(QStringLiteral("Не вставлять точки вне обеих карт (%1)").arg(off));

    QString format = QStringLiteral("«%1»: %2")
                         .arg(visibleText(QFileInfo(source_.fileName).fileName()),
                              plan_.layout.isEmpty() ? source_.plan.layout : plan_.layout);
    if (!plan_.encoding.isEmpty()) {
        format += QStringLiteral(", кодировка ") + plan_.encoding;
    }
    if (!plan_.separator.isEmpty()) {
        format += QStringLiteral(", разделитель ") + plan_.separator;
    }
    if (plan_.kind != ImportKind::Refused) {
        format += QStringLiteral(". Записей с точками: %1, без точки: %2.")
                      .arg(plan_.set.recordsWithPoints)
                      .arg(plan_.set.unread.size());
    }
    lbFormat->setText(format);

    QString message = error_;
    if (message.isEmpty() && !plan_.set.groupField.isEmpty()) {
        if (groupLimit_ == 0 && placeable_ > 0) {
            message = QStringLiteral(
                "Свободных столбцов в таблице нет: каждый из девяти типов маркеров уже держит "
                "точки. Выберите «без групп» или очистите столбцы таблицы.");
        } else if (checkedGroups().isEmpty()) {
            message = QStringLiteral("Отметьте группы, точки которых импортировать.");
        } else if (columns_.missing) {
            message = QStringLiteral("Отмечено больше групп, чем свободных столбцов в таблице.");
        }
    }
    lbMessage->setText(message);
    bImport->setEnabled(canImport());
    edCommand->setText(commandLine());
    edCommand->setCursorPosition(0);
}

QStringList ImportDialog::commandWords() const {
    QStringList words{QStringLiteral("import"), QStringLiteral("--table"),
                      source_.tableFile.isEmpty() ? kUnsavedTable : source_.tableFile,
                      QStringLiteral("--from"), source_.fileName};
    const ReadOptions o = optionsFromControls();
    const auto add = [&](const char* option, const QString& value) {
        if (!value.isEmpty()) {
            words << QLatin1String(option) << value;
        }
    };
    add("--format", o.format);
    add("--group-by", o.groupBy);
    if (o.ungrouped) {
        words << QStringLiteral("--ungrouped");
    }
    add("--lat", o.latColumn);
    add("--lon", o.lonColumn);
    add("--coords", o.coordColumn);
    const ImportChoices c = choices();
    add("--groups", c.groups.join(QLatin1Char(';')));
    if (plan_.set.groupField.isEmpty()) {
        words << QStringLiteral("--column") << QString::number(c.column);
    }
    // Without --map the points are checked against both maps, as here.
    words << QStringLiteral("--off-map")
          << (c.offMap == OffMap::Drop ? QStringLiteral("drop") : QStringLiteral("keep"));
    return words;
}

QString ImportDialog::commandLine() const {
    return QStringLiteral("zelkora-cli ") + shellCommand(commandWords());
}

}  // namespace zelkora
