#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonDocument>
#include <cstdio>
#include <memory>

#include "cli/Commands.h"
#include "cli/FigureArgs.h"
#include "figure/FigureFile.h"
#include "figure/FigureLayout.h"
#include "figure/FigureMap.h"
#include "figure/FigureReport.h"
#include "figure/PointKey.h"
#include "table/HeaderRow.h"
#include "table/PointTable.h"
#include "table/TableFile.h"

namespace zelkora {

namespace {

// Qt's own notes (a missing runtime folder and the like) would mix with the points the figure
// leaves out, which go to standard error too.
void quietQt(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", message.toUtf8().constData());
    }
}

QString degrees(double value) {
    return QString::number(value, 'f', 6);
}

}  // namespace

int runFigure(const QStringList& args) {
    const FigureRequest request = figureRequestFromArgs(args);

    // Text needs Qt's fonts, which need a QGuiApplication; the command line draws off screen.
    qInstallMessageHandler(quietQt);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "zelkora-cli";
    static char* argv[] = {name, nullptr};
    const std::unique_ptr<QGuiApplication> app(
        QGuiApplication::instance() ? nullptr : new QGuiApplication(argc, argv));

    PointTable table;
    if (!request.table.isEmpty()) {
        LoadStringGrid(table, request.table);
    } else {
        fillHeaderRow(table);
    }
    const std::unique_ptr<FigureMap> map =
        FigureMap::load(request.options.dataDir, request.options.map);
    const FigureLayout layout = layOutFigure(request.options, *map, table);
    if (request.key.isEmpty()) {
        writeFigure(layout, *map, request.out);
    } else {
        // The key first, as it is small and quick; a figure that then fails takes a new key
        // with it, so that a failed command leaves no file behind.
        const bool keyWasThere = QFileInfo::exists(request.key);
        writePointKey(layout, request.key);
        try {
            writeFigure(layout, *map, request.out);
        } catch (...) {
            if (!keyWasThere) {
                QFile::remove(request.key);
            }
            throw;
        }
    }

    for (const LeftOutPoint& l : layout.leftOut) {
        std::fprintf(stderr, "Точка не нарисована: столбец %d, строка %d (%s, %s): %s\n",
                     l.point.column + 1, l.point.row + 1,
                     degrees(l.point.geo.lat).toUtf8().constData(),
                     degrees(l.point.geo.lon).toUtf8().constData(), l.reason.toUtf8().constData());
    }
    for (const LeftOutName& n : layout.namesLeftOut) {
        // A name outside the frame is expected; one that found no room is worth a word.
        if (!n.outside) {
            std::fprintf(stderr, "Название не подписано: «%s»: %s\n", n.text.toUtf8().constData(),
                         n.reason.toUtf8().constData());
        }
    }
    for (const QString& warning : layout.warnings) {
        std::fprintf(stderr, "Внимание: %s\n", warning.toUtf8().constData());
    }
    if (request.report) {
        std::fputs(QJsonDocument(figureReport(layout, *map)).toJson().constData(), stdout);
    }
    return 0;
}

}  // namespace zelkora
