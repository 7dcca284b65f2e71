// zelkora-mapgen: draws the map pictures and marker icons under data/ from GSHHG (through gmt)
// and Natural Earth admin-1, with the program's own projection. Run by hand when the look changes.
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <exception>

#include "mapimage/DataPaths.h"
#include "projection/Tpar.h"
#include "tools/IconPainter.h"
#include "tools/MapGenerator.h"
#include "tools/MapSheet.h"
#include "tools/PngFile.h"

namespace zelkora {

namespace {

const MapSheet kVietnam{kMapVietnam, QSize(1000, 1680), 1.0, 0.0025, 0.0025, 5.0};
const MapSheet kFarEast{kMapFarEast, QSize(940, 1660), 5.0, 0.01, 0.005, 20.0};

void usage() {
    QTextStream(stderr)
        << "usage: zelkora-mapgen --sources DIR --out DIR [icons|vietnam|fareast]...\n"
           "  DIR of --sources is what tools/fetch-sources.sh fills;\n"
           "  --out is the data folder (maps/ and icons/ go inside).\n"
           "  Without a selection everything is drawn.\n";
}

}  // namespace

}  // namespace zelkora

int main(int argc, char* argv[]) {
    using namespace zelkora;
    QCoreApplication app(argc, argv);
    QString sources;
    QString out;
    QStringList what;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--sources") && i + 1 < args.size()) {
            sources = args[++i];
        } else if (args[i] == QStringLiteral("--out") && i + 1 < args.size()) {
            out = args[++i];
        } else if (QStringList{"icons", "vietnam", "fareast"}.contains(args[i])) {
            what << args[i];
        } else {
            usage();
            return 2;
        }
    }
    if (out.isEmpty() || (sources.isEmpty() && what != QStringList{"icons"})) {
        usage();
        return 2;
    }
    if (what.isEmpty()) {
        what = QStringList{"icons", "vietnam", "fareast"};
    }
    // The data folder as mapimage/DataPaths takes it, ending in "/".
    const QString dataDir = out.endsWith(QLatin1Char('/')) ? out : out + QLatin1Char('/');
    try {
        if (what.contains("icons")) {
            for (int t = 0; t < IconPainter::kIconCount; ++t) {
                PngFile::save(IconPainter::icon(t), iconPath(dataDir, t));
            }
        }
        if (what.contains("vietnam")) {
            MapGenerator(kVietnam, sources).write(dataDir);
        }
        if (what.contains("fareast")) {
            MapGenerator(kFarEast, sources).write(dataDir);
        }
    } catch (const std::exception& e) {
        QTextStream(stderr) << "zelkora-mapgen: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
