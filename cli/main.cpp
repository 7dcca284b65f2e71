// zelkora-cli: the program's main jobs without the window, for scripts and end-to-end checks.
#include <QString>
#include <QStringList>
#include <cstdio>

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "common/VisibleText.h"
#include "common/ZelkoraError.h"

namespace zelkora {

namespace {

const char* const kUsage =
    "Usage: zelkora-cli COMMAND [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  project --map 0|1 [--hires] --height H LAT LON\n"
    "      Print the pixel position \"xImg yImg\" of a point on a map raster H pixels high.\n"
    "  translit TEXT\n"
    "      Print TEXT transliterated as folder and file names are.\n"
    "  assemble [--data DIR] --map 0|1 [--hires] [--layers 11011] --out FILE.png\n"
    "      Write the assembled map (base picture and checked layers, no markers) as PNG.\n"
    "  normalize [--explain] [LINE]\n"
    "      Print every point of a coordinate line (or of every line of standard input) as\n"
    "      \"lat, lon\", one line a point; --explain adds the notation and the words read.\n"
    "  import --table FILE --column N [--from TEXTFILE] [--data DIR]\n"
    "         [--map 0|1 [--hires]] [--off-map keep|drop]\n"
    "      Insert every point of coordinate lines (standard input or TEXTFILE) into column N\n"
    "      of a table file. Every line goes to stderr with the words read and its points (those\n"
    "      outside the map of --map, or without it of both maps), or why it gives none.\n"
    "  import --table FILE --from DATAFILE [--format F] [--group-by NAME] [--ungrouped]\n"
    "         [--lat NAME --lon NAME | --coords NAME] [--groups \"A;B\"] [--column N]\n"
    "         [--tracks] [--map 0|1 [--hires]] [--off-map keep|drop] [--data DIR]\n"
    "      Import the points of a CSV, TSV, GBIF, GPX, KML or GeoJSON file, one column per\n"
    "      group (species); the report of records without points and of points outside the\n"
    "      map (or both maps) goes to standard error.\n"
    "      F: csv, tsv, semicolon, gbif, gpx, kml, geojson or text. Points outside --map's map\n"
    "      are left out (--off-map drop) unless --off-map keep; without --map they are kept.\n"
    "  export --table FILE --out FILE.csv|.geojson|.kml|.gpx [--format csv|geojson|kml|gpx]\n"
    "      Write the table's points with their groups and marker types.\n"
    "  render [--data DIR] --map 0|1 [--hires] [--layers 11011] [--size N] [--red]\n"
    "         [--table FILE] --out FILE [--format jpeg|png|bmp]\n"
    "      Draw the table's points on the assembled map and export the picture.\n"
    "  figure [--data DIR] --map 0|1 [--layers 11011] [--table FILE] --out FILE\n"
    "         [--format tiff|png|jpeg|pdf|svg] [--preset NAME] [--width MM] [--dpi N]\n"
    "         [--extent points|map|S,W,N,E] [--margin PCT] [--marker MM] [--red]\n"
    "         [--legend CORNER] [--italic] [--font-size PT] [--scale-bar CORNER]\n"
    "         [--lang en|ru] [--panels] [--report] [--projection north-up|map]\n"
    "         [--graticule auto|off|DEG|MINm] [--frame-labels left-bottom|all]\n"
    "         [--north-arrow CORNER] [--scale-bar-style plain|ticked] [--inset CORNER]\n"
    "         [--labels countries|provinces|countries,provinces] [--divisions 2025|2008]\n"
    "         [--number-points column|all [--key FILE.csv]]\n"
    "      Draw a figure for a paper at its size in millimetres and its dpi, from the map's\n"
    "      vector data, north up in a conic centred on it (map: the window's projection):\n"
    "      frame, graticule labels, legend, scale bar, north arrow, locator inset; names of\n"
    "      countries and of the map's own provinces or regions (2008: Vietnam's 63 provinces\n"
    "      before 1 July 2025); numbers beside the markers, from 1 in each column or on\n"
    "      across them, with their key as CSV; --report prints a JSON summary. Presets:\n"
    "      nature-1, nature-1.5, nature-2, plos, elsevier-1, elsevier-1.5, elsevier-2.\n"
    "      CORNER: auto, top-left, top-right, bottom-left, bottom-right, none.\n"
    "\n"
    "Maps: 0 = Вьетнам, 1 = Дальний Восток. Layers: Сетка, Реки, Границы районов,\n"
    "Границы государств, Береговые линии. DIR holds the folders \"maps\" and \"icons\"\n"
    "(default: the program's folder).\n";

using Command = int (*)(const QStringList&);

Command findCommand(const QString& name) {
    struct Entry {
        const char* name;
        Command run;
    };
    static const Entry kCommands[] = {
        {"project", runProject},     {"translit", runTranslit}, {"assemble", runAssemble},
        {"normalize", runNormalize}, {"import", runImport},     {"render", runRender},
        {"figure", runFigure},       {"export", runExport},
    };
    for (const Entry& e : kCommands) {
        if (name == QLatin1String(e.name)) {
            return e.run;
        }
    }
    return nullptr;
}

// The exit status of a mistake in the command's words, after the message and the usage.
constexpr int kUsageStatus = 2;

bool isHelp(const QString& word) {
    return word == QLatin1String("--help") || word == QLatin1String("-h");
}

// "COMMAND ... --help": asked anywhere among the command's options, before a "--".
bool asksForHelp(const QStringList& args) {
    for (const QString& word : args) {
        if (word == QLatin1String("--")) {
            return false;
        }
        if (isHelp(word)) {
            return true;
        }
    }
    return false;
}

}  // namespace

}  // namespace zelkora

int main(int argc, char** argv) {
    QStringList words;
    for (int i = 1; i < argc; ++i) {
        words << QString::fromLocal8Bit(argv[i]);
    }
    // The usage asked for goes to standard output; after a mistake, to standard error.
    if (words.isEmpty()) {
        std::fputs(zelkora::kUsage, stderr);
        return zelkora::kUsageStatus;
    }
    if (zelkora::isHelp(words[0]) || words[0] == QLatin1String("help")) {
        std::fputs(zelkora::kUsage, stdout);
        return 0;
    }
    const zelkora::Command command = zelkora::findCommand(words[0]);
    if (!command) {
        std::fprintf(stderr, "Неизвестная команда: %s\n\n%s",
                     zelkora::visibleText(words[0]).toUtf8().constData(), zelkora::kUsage);
        return zelkora::kUsageStatus;
    }
    if (zelkora::asksForHelp(words.mid(1))) {
        std::fputs(zelkora::kUsage, stdout);
        return 0;
    }
    try {
        return command(words.mid(1));
    } catch (const zelkora::UsageError& e) {
        std::fprintf(stderr, "%s\n\n%s", e.what(), zelkora::kUsage);
        return zelkora::kUsageStatus;
    } catch (...) {
        std::fprintf(stderr, "%s\n", zelkora::messageOfCurrentError().toUtf8().constData());
    }
    return 1;
}
