#include "shell/OccurrenceFiles.h"

#include <QAction>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "common/VisibleText.h"
#include "common/ZelkoraError.h"
#include "records/ImportPlan.h"
#include "records/OccurrenceFormats.h"
#include "records/PointFileExport.h"
#include "shell/ImportDialog.h"
#include "shell/MapAdvice.h"
#include "shell/PointFilesHost.h"
#include "table/HeaderRow.h"
#include "table/ImportReport.h"
#include "table/PointTable.h"

namespace zelkora {

namespace {

QString extensionOf(const QString& fileName) {
    return QFileInfo(fileName).suffix().toLower();
}

QString quotedFileName(const QString& fileName) {
    return QStringLiteral("«%1»").arg(visibleText(QFileInfo(fileName).fileName()));
}

}  // namespace

OccurrenceFiles::OccurrenceFiles(PointFilesHost& host) : QObject(host.hostWidget()), host_(host) {
    QWidget* window = host_.hostWidget();
    acImport =
        host_.addTableAction(QStringLiteral("Импорт точек из файла..."), [this] { importClick(); });
    acExport =
        host_.addTableAction(QStringLiteral("Экспорт точек в файл..."), [this] { exportClick(); });
    // A file dropped anywhere on the window, the fields that take dropped text included.
    window->setAcceptDrops(true);
    window->installEventFilter(this);
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (child->acceptDrops()) {
            child->installEventFilter(this);
        }
    }
}

bool OccurrenceFiles::isTableFile(const QString& fileName) {
    return extensionOf(fileName) == QLatin1String("points");
}

bool OccurrenceFiles::isPointsFile(const QString& fileName) {
    return occurrenceFileExtensions().contains(extensionOf(fileName));
}

std::optional<QStringList> OccurrenceFiles::droppedFiles(const QMimeData* data) {
    if (!data || !data->hasUrls()) {
        return std::nullopt;
    }
    QStringList names;
    for (const QUrl& url : data->urls()) {
        const QString name = url.toLocalFile();
        if (name.isEmpty() || !(isTableFile(name) || isPointsFile(name))) {
            return std::nullopt;
        }
        names << name;
    }
    if (names.isEmpty()) {
        return std::nullopt;
    }
    return names;
}

bool OccurrenceFiles::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (!droppedFiles(drag->mimeData())) {
                // Text for a field goes to the field; anything else is refused.
                return watched != host_.hostWidget() ? QObject::eventFilter(watched, event)
                                                     : (drag->ignore(), true);
            }
            drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const std::optional<QStringList> names = droppedFiles(drop->mimeData());
            if (!names) {
                return QObject::eventFilter(watched, event);
            }
            drop->acceptProposedAction();
            // After the drop has ended: the program the file came from is not kept waiting by
            // an import, a dialog or an error box.
            QTimer::singleShot(0, this, [this, files = *names] { openFiles(files); });
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
    }
}

void OccurrenceFiles::openFiles(const QStringList& fileNames) {
    QStringList points;
    QStringList tables;
    for (const QString& name : fileNames) {
        (isPointsFile(name) ? points : tables) << name;
    }
    if (!tables.isEmpty() && !points.isEmpty()) {
        host_.handle([&] {
            QStringList names;
            for (const QString& name : fileNames) {
                names << quotedFileName(name);
            }
            throw ZelkoraError(QStringLiteral("Таблица открывается одна, без других файлов, а "
                                              "указаны: %1. Откройте таблицу, затем "
                                              "импортируйте в неё файлы точек.")
                                   .arg(names.join(QStringLiteral(", "))));
        });
        return;
    }
    if (!tables.isEmpty()) {
        host_.openTables(tables);
        return;
    }
    ReportBox::Content content;
    for (const QString& name : points) {
        host_.handle([&] { importFile(name, content); });
    }
}

void OccurrenceFiles::importClick() {
    const QString name = hooks_.importFileName ? hooks_.importFileName()
                                               : FileDialogs::importPointsName(host_.hostWidget());
    if (!name.isEmpty()) {
        ReportBox::Content content;
        importFile(name, content);
    }
}

// The report box is shown once the table has changed, even when the redraw that follows fails
// on a cell of the table: the points are in, and the user is told of them.
void OccurrenceFiles::importFile(const QString& fileName, ReportBox::Content& content) {
    const QByteArray bytes = readRecordsFile(fileName);
    const PointTable& table = host_.hostTable();
    const MapPictures pictures = host_.mapPictures();
    ImportPlan plan = planImport(bytes, fileName, {}, table, onEitherMap(pictures));
    // A file with nothing to import is said so at once; one whose columns are not known goes to
    // the dialog, where they are chosen.
    if (plan.kind == ImportKind::Refused && plan.refusal != Refusal::NoCoordinateColumns) {
        throw ZelkoraError(QStringLiteral("%1: %2").arg(quotedFileName(fileName), plan.message));
    }
    const int map = host_.currentMap();
    const bool heldPoints = tableHoldsPoints(table);
    ImportDialog dialog({fileName, bytes, std::move(plan), &table, host_.markerColumn(), map,
                         heldPoints, pictures, host_.hiRes(), host_.tableFileName()},
                        host_.hostWidget());
    const bool accepted =
        hooks_.importDialog ? hooks_.importDialog(dialog) : dialog.exec() == QDialog::Accepted;
    if (!accepted || !dialog.canImport()) {
        return;  // nothing imported
    }
    const ImportPlan& chosenPlan = dialog.plan();
    const ImportChoices choices = dialog.choices();
    const int chosenMap = dialog.chosenMap();

    // The report names the points off the map they are shown on.
    const std::optional<PictureBounds>& shown = pictures[static_cast<std::size_t>(chosenMap)];
    ImportReport report(ReportBox::kShownLines);
    report.setPictureCheck(shown ? shown->check() : PictureCheck());
    QStringList lines;
    MapTally tally;
    bool changed = false;
    const auto tell = [&] {
        if (!content.details.isEmpty()) {
            content.details << QString();
        }
        content.title = QStringLiteral("Импорт точек");
        content.summary += (content.summary.isEmpty() ? QString() : QStringLiteral("\n")) +
                           QStringLiteral("Импорт %1. ").arg(quotedFileName(fileName)) +
                           report.summary();
        content.details << lines << ReportBox::recordLines(report);
        content.lines.insert(content.lines.end(), report.lines().begin(), report.lines().end());
        // The map the points were put on: chosen for them, or the other one, offered.
        content.advice = mapAdvice(tally, host_.currentMap(), !heldPoints, [this](int other) {
            host_.handle([&] {
                host_.changeTable(
                    keepTableStep(other), [](PointTable&) {}, other);
            });
        });
        ReportBox::present(host_.hostWidget(), content, host_.reportActions());
    };
    const QString step = QStringLiteral("Импорт %1").arg(quotedFileName(fileName));
    try {
        host_.changeTable(
            step,
            [&](PointTable& t) {
                const ImportResult result =
                    applyImport(chosenPlan, choices, t, report, ColumnNumbers::Hidden);
                changed = true;
                for (const PlacedPoint& p : result.placement.points) {
                    tally.add(p.point.lat, p.point.lon, pictures);
                }
                if (chosenPlan.kind == ImportKind::Lines) {
                    lines << QStringLiteral("%1: строки координат, точки — в столбец %2.")
                                 .arg(quotedFileName(fileName), columnCaption(t, choices.column));
                } else {
                    lines << QStringLiteral("%1: %2").arg(quotedFileName(fileName),
                                                          chosenPlan.heading());
                }
                lines << result.lines;
            },
            chosenMap);
    } catch (...) {
        if (changed) {
            tell();
        }
        throw;
    }
    tell();
}

void OccurrenceFiles::exportClick() {
    const PointTable& table = host_.hostTable();
    if (pointsOfTable(table).points.empty()) {
        throw ZelkoraError(QStringLiteral("В таблице нет точек: экспортировать нечего."));
    }
    const std::optional<PointFileTarget> target =
        hooks_.exportTarget ? hooks_.exportTarget()
                            : FileDialogs::exportPointsName(host_.hostWidget());
    if (!target) {
        return;
    }
    const std::vector<SkippedCell> skipped = exportTable(table, target->fileName, target->format);
    if (skipped.empty()) {
        return;
    }
    // Nothing is left out without a word: the cells that hold no point are named.
    ReportBox::Content content{QStringLiteral("Экспорт точек"),
                               QStringLiteral("Файл %1 записан. Ячейки без точки не записаны: %2.")
                                   .arg(quotedFileName(target->fileName))
                                   .arg(skipped.size()),
                               {},
                               {},
                               {}};
    for (const SkippedCell& cell : skipped) {
        content.details << QStringLiteral("Столбец %1, строка %2: %3 — «%4»")
                               .arg(columnCaption(table, cell.column))
                               .arg(cell.row)
                               .arg(cell.reason, visibleText(cell.text));
    }
    ReportBox::present(host_.hostWidget(), content, host_.reportActions());
}

}  // namespace zelkora
