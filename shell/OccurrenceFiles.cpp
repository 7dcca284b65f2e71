#include "shell/OccurrenceFiles.h"

#include <QAction>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "common/VisibleText.h"
#include "records/GroupPlacement.h"
#include "records/OccurrenceFormats.h"
#include "records/OccurrenceImport.h"
#include "records/PointFileExport.h"
#include "records/TextEncoding.h"
#include "records/TooManyGroups.h"
#include "shell/GroupChoiceDialog.h"
#include "shell/RadioGroup.h"
#include "shell/StringGrid.h"
#include "shell/TmainForm.h"
#include "table/HeaderRow.h"
#include "table/ImportReport.h"
#include "table/PointInsert.h"
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

OccurrenceFiles::OccurrenceFiles(TmainForm* form) : QObject(form), form_(form) {
    auto* separator = new QAction(form_->StringGrid1);
    separator->setSeparator(true);
    form_->StringGrid1->addAction(separator);
    acImport = form_->addTableAction(QStringLiteral("Импорт точек из файла..."),
                                     [this] { importClick(); });
    acExport =
        form_->addTableAction(QStringLiteral("Экспорт точек в файл..."), [this] { exportClick(); });
    // A file dropped anywhere on the window, the fields that take dropped text included.
    form_->setAcceptDrops(true);
    form_->installEventFilter(this);
    for (QWidget* child : form_->findChildren<QWidget*>()) {
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
                return watched != form_ ? QObject::eventFilter(watched, event)
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
        form_->handle([&] {
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
        form_->openStartupTables(tables);
        return;
    }
    ReportBox::Content content;
    for (const QString& name : points) {
        form_->handle([&] { importFile(name, content); });
    }
}

void OccurrenceFiles::importClick() {
    const QString name =
        hooks_.importFileName ? hooks_.importFileName() : FileDialogs::importPointsName(form_);
    if (!name.isEmpty()) {
        ReportBox::Content content;
        importFile(name, content);
    }
}

std::optional<QStringList> OccurrenceFiles::chooseGroups(const TooManyGroups& groups) {
    return hooks_.chooseGroups ? hooks_.chooseGroups(groups)
                               : GroupChoiceDialog::ask(form_, groups);
}

// The report box is shown once the table has changed, even when the redraw that follows fails
// on a cell of the table: the points are in, and the user is told of them.
void OccurrenceFiles::importFile(const QString& fileName, ReportBox::Content& content) {
    const QByteArray bytes = readRecordsFile(fileName);
    const std::optional<OccurrenceSet> set = readOccurrences(bytes, fileName, {});
    const QString step = QStringLiteral("Импорт %1").arg(quotedFileName(fileName));
    const int column = form_->rgType->ItemIndex();
    ImportReport report(ReportBox::kShownLines);
    report.setPictureCheck(form_->pictureCheck());
    QStringList lines;
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
        ReportBox::present(form_, content, {form_->acUndo, form_->acRedo});
    };
    try {
        if (!set) {
            // Lines of coordinates, as a paste inserts them.
            const QString text = decodeTextFile(bytes);
            form_->changeTable(step, [&](PointTable& table) {
                insertPastedText(table, column, text, &report);
                changed = true;
                lines << QStringLiteral("%1: строки координат, точки — в столбец %2.")
                             .arg(quotedFileName(fileName), columnCaption(table, column));
            });
        } else {
            PlacementOptions place;
            place.column = column;
            for (bool placed = false; !placed;) {
                try {
                    form_->changeTable(step, [&](PointTable& table) {
                        const Placement placement = placeOccurrences(table, *set, place);
                        changed = true;
                        reportOccurrences(*set, placement, report);
                        lines << QStringLiteral("%1: %2").arg(quotedFileName(fileName),
                                                              importHeading(*set))
                              << placementLines(*set, placement, ColumnNumbers::Hidden);
                    });
                    placed = true;
                } catch (const TooManyGroups& groups) {
                    if (changed || groups.freeColumns() == 0) {
                        throw;
                    }
                    const std::optional<QStringList> chosen = chooseGroups(groups);
                    if (!chosen) {
                        return;  // nothing imported
                    }
                    place.chosenGroups = *chosen;
                }
            }
        }
    } catch (...) {
        if (changed) {
            tell();
        }
        throw;
    }
    tell();
}

void OccurrenceFiles::exportClick() {
    const PointTable& table = form_->StringGrid1->table();
    if (pointsOfTable(table).points.empty()) {
        throw ZelkoraError(QStringLiteral("В таблице нет точек: экспортировать нечего."));
    }
    const std::optional<PointFileTarget> target =
        hooks_.exportTarget ? hooks_.exportTarget() : FileDialogs::exportPointsName(form_);
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
                               {}};
    for (const SkippedCell& cell : skipped) {
        content.details << QStringLiteral("Столбец %1, строка %2: %3 — «%4»")
                               .arg(columnCaption(table, cell.column))
                               .arg(cell.row)
                               .arg(cell.reason, visibleText(cell.text));
    }
    ReportBox::present(form_, content, {form_->acUndo, form_->acRedo});
}

}  // namespace zelkora
