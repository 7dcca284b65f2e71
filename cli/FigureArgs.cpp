#include "cli/FigureArgs.h"

#include <QFileInfo>
#include <QLocale>
#include <array>
#include <cmath>

#include "cli/CliArgs.h"
#include "common/VisibleText.h"

namespace zelkora {

namespace {

struct CornerName {
    FigureCorner corner;
    const char* name;
};
constexpr std::array<CornerName, 6> kCorners = {{
    {FigureCorner::Auto, "auto"},
    {FigureCorner::TopLeft, "top-left"},
    {FigureCorner::TopRight, "top-right"},
    {FigureCorner::BottomLeft, "bottom-left"},
    {FigureCorner::BottomRight, "bottom-right"},
    {FigureCorner::None, "none"},
}};

FigureCorner cornerArg(const CliArgs& cli, const QString& name,
                       const QString& fallback = QStringLiteral("auto")) {
    const QString text = cli.value(name, fallback);
    for (const CornerName& c : kCorners) {
        if (text == QLatin1String(c.name)) {
            return c.corner;
        }
    }
    throw UsageError(QStringLiteral("--%1 ждёт auto, top-left, top-right, bottom-left, "
                                    "bottom-right или none, а не \"%2\"")
                         .arg(name, visibleText(text)));
}

QString cornerName(FigureCorner corner) {
    for (const CornerName& c : kCorners) {
        if (c.corner == corner) {
            return QLatin1String(c.name);
        }
    }
    return {};
}

double numberArg(const CliArgs& cli, const QString& name, double fallback) {
    return cli.has(name) ? parseNumberArg(cli.value(name), QStringLiteral("--") + name) : fallback;
}

// The shortest text that reads back as the same double: 42.1234, not 42.123399999999997.
QString number(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

constexpr int kMinutesPerDegree = 60;

// "auto", "off", degrees ("2", "0.5") or minutes ("30m", "30'").
void readGraticule(const QString& text, FigureOptions& options) {
    if (text == QLatin1String("auto")) {
        return;
    }
    if (text == QLatin1String("off")) {
        options.graticuleLines = false;
        return;
    }
    const bool minutes = text.endsWith(QLatin1Char('m')) || text.endsWith(QLatin1Char('\'')) ||
                         text.endsWith(QChar(0x2032));
    const QString digits = minutes ? text.chopped(1) : text;
    bool ok = false;
    const double value = digits.toDouble(&ok);
    const double inMinutes = minutes ? value : value * kMinutesPerDegree;
    if (!ok || !(inMinutes >= 1) || std::fabs(inMinutes - std::round(inMinutes)) > 1e-9) {
        throw UsageError(QStringLiteral("--graticule ждёт auto, off, шаг в градусах (2, 0.5) или "
                                        "в целых минутах (30m), а не \"%1\"")
                             .arg(visibleText(text)));
    }
    options.graticuleMinutes = static_cast<int>(std::lround(inMinutes));
}

QString graticuleWord(const FigureOptions& o) {
    if (!o.graticuleLines) {
        return QStringLiteral("off");
    }
    if (o.graticuleMinutes == kAutoGraticule) {
        return QStringLiteral("auto");
    }
    if (o.graticuleMinutes % kMinutesPerDegree == 0) {
        return QString::number(o.graticuleMinutes / kMinutesPerDegree);
    }
    return QString::number(o.graticuleMinutes) + QLatin1Char('m');
}

void readExtent(const QString& text, FigureOptions& options) {
    if (text == QLatin1String("map")) {
        options.extent = FigureExtent::WholeMap;
        return;
    }
    if (text == QLatin1String("points")) {
        options.extent = FigureExtent::Points;
        return;
    }
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4) {
        throw UsageError(QStringLiteral("--extent ждёт map, points или границы ЮГ,ЗАПАД,СЕВЕР,"
                                        "ВОСТОК в градусах, а не \"%1\"")
                             .arg(visibleText(text)));
    }
    options.extent = FigureExtent::Box;
    options.box.south = parseNumberArg(parts[0].trimmed(), QStringLiteral("--extent, юг"));
    options.box.west = parseNumberArg(parts[1].trimmed(), QStringLiteral("--extent, запад"));
    options.box.north = parseNumberArg(parts[2].trimmed(), QStringLiteral("--extent, север"));
    options.box.east = parseNumberArg(parts[3].trimmed(), QStringLiteral("--extent, восток"));
}

// "countries", "provinces" or both, separated by commas; "none" for neither.
void readNames(const QString& text, FigureOptions& options) {
    options.nameCountries = false;
    options.nameDivisions = false;
    for (const QString& word : text.split(QLatin1Char(','))) {
        const QString w = word.trimmed();
        if (w == QLatin1String("countries")) {
            options.nameCountries = true;
        } else if (w == QLatin1String("provinces")) {
            options.nameDivisions = true;
        } else if (w != QLatin1String("none") || text.contains(QLatin1Char(','))) {
            throw UsageError(QStringLiteral("--labels ждёт countries, provinces, оба через "
                                            "запятую или none, а не \"%1\"")
                                 .arg(visibleText(text)));
        }
    }
}

QString namesWord(const FigureOptions& o) {
    QStringList words;
    if (o.nameCountries) {
        words << QStringLiteral("countries");
    }
    if (o.nameDivisions) {
        words << QStringLiteral("provinces");
    }
    return words.join(QLatin1Char(','));
}

}  // namespace

FigureRequest figureRequestFromArgs(const QStringList& args) {
    const CliArgs cli(args, {QStringLiteral("data"),
                             QStringLiteral("map"),
                             QStringLiteral("layers"),
                             QStringLiteral("table"),
                             QStringLiteral("out"),
                             QStringLiteral("format"),
                             QStringLiteral("preset"),
                             QStringLiteral("width"),
                             QStringLiteral("dpi"),
                             QStringLiteral("extent"),
                             QStringLiteral("margin"),
                             QStringLiteral("marker"),
                             QStringLiteral("legend"),
                             QStringLiteral("font-size"),
                             QStringLiteral("scale-bar"),
                             QStringLiteral("lang"),
                             QStringLiteral("projection"),
                             QStringLiteral("graticule"),
                             QStringLiteral("frame-labels"),
                             QStringLiteral("north-arrow"),
                             QStringLiteral("scale-bar-style"),
                             QStringLiteral("inset"),
                             QStringLiteral("labels"),
                             QStringLiteral("divisions"),
                             QStringLiteral("number-points"),
                             QStringLiteral("key")},
                      {QStringLiteral("red"), QStringLiteral("italic"), QStringLiteral("panels"),
                       QStringLiteral("report")});
    if (!cli.positional().isEmpty()) {
        throw UsageError("figure не принимает лишних слов: " +
                         visibleText(cli.positional().join(' ')));
    }
    FigureRequest request;
    FigureOptions& o = request.options;
    request.out = cli.required(QStringLiteral("out"));
    request.table = cli.value(QStringLiteral("table"));
    request.report = cli.has(QStringLiteral("report"));

    o.dataDir = cli.dataDir();
    o.map = cli.mapIndex();
    o.layers = cli.layers();
    if (cli.has(QStringLiteral("format"))) {
        const QString name = cli.value(QStringLiteral("format"));
        const auto format = figureFormatFromName(name);
        if (!format) {
            throw UsageError(
                QStringLiteral("--format ждёт tiff, png, jpeg, pdf или svg, а не \"%1\"")
                    .arg(visibleText(name)));
        }
        o.format = *format;
    } else if (const auto format = figureFormatFromExtension(request.out)) {
        o.format = *format;
    } else {
        throw UsageError(QStringLiteral("По имени \"%1\" не понять тип файла: нужно расширение "
                                        ".tif, .png, .jpg, .pdf или .svg либо параметр --format")
                             .arg(visibleText(request.out)));
    }
    try {
        if (cli.has(QStringLiteral("preset"))) {
            applyFigurePreset(o, cli.value(QStringLiteral("preset")));
        }
        o.widthMm = numberArg(cli, QStringLiteral("width"), o.widthMm);
        o.dpi = numberArg(cli, QStringLiteral("dpi"), o.dpi);
        if (cli.has(QStringLiteral("extent"))) {
            readExtent(cli.value(QStringLiteral("extent")), o);
        }
        o.marginPercent = numberArg(cli, QStringLiteral("margin"), o.marginPercent);
        o.markerMm = numberArg(cli, QStringLiteral("marker"), o.markerMm);
        o.red = cli.has(QStringLiteral("red"));
        o.legend = cornerArg(cli, QStringLiteral("legend"));
        o.italic = cli.has(QStringLiteral("italic"));
        o.fontPt = numberArg(cli, QStringLiteral("font-size"), o.fontPt);
        o.scaleBar = cornerArg(cli, QStringLiteral("scale-bar"));
        const QString lang = cli.value(QStringLiteral("lang"), QStringLiteral("en"));
        if (lang != QLatin1String("en") && lang != QLatin1String("ru")) {
            throw UsageError(
                QStringLiteral("--lang ждёт en или ru, а не \"%1\"").arg(visibleText(lang)));
        }
        o.language =
            lang == QLatin1String("ru") ? FigureLanguage::Russian : FigureLanguage::English;
        o.panels = cli.has(QStringLiteral("panels"));
        const QString projection =
            cli.value(QStringLiteral("projection"), QStringLiteral("north-up"));
        if (projection != QLatin1String("north-up") && projection != QLatin1String("map")) {
            throw UsageError(QStringLiteral("--projection ждёт north-up или map, а не \"%1\"")
                                 .arg(visibleText(projection)));
        }
        o.projection = projection == QLatin1String("map") ? FigureProjectionKind::Map
                                                          : FigureProjectionKind::NorthUp;
        readGraticule(cli.value(QStringLiteral("graticule"), QStringLiteral("auto")), o);
        const QString sides =
            cli.value(QStringLiteral("frame-labels"), QStringLiteral("left-bottom"));
        if (sides != QLatin1String("left-bottom") && sides != QLatin1String("all")) {
            throw UsageError(QStringLiteral("--frame-labels ждёт left-bottom или all, а не \"%1\"")
                                 .arg(visibleText(sides)));
        }
        o.labelAllSides = sides == QLatin1String("all");
        o.northArrow = cornerArg(cli, QStringLiteral("north-arrow"));
        const QString style = cli.value(QStringLiteral("scale-bar-style"), QStringLiteral("plain"));
        if (style != QLatin1String("plain") && style != QLatin1String("ticked")) {
            throw UsageError(QStringLiteral("--scale-bar-style ждёт plain или ticked, а не \"%1\"")
                                 .arg(visibleText(style)));
        }
        o.scaleBarStyle =
            style == QLatin1String("ticked") ? ScaleBarStyle::Ticked : ScaleBarStyle::Plain;
        o.inset = cornerArg(cli, QStringLiteral("inset"), QStringLiteral("none"));
        readNames(cli.value(QStringLiteral("labels"), QStringLiteral("none")), o);
        const QString divisions = cli.value(QStringLiteral("divisions"), QStringLiteral("2025"));
        if (divisions != QLatin1String("2025") && divisions != QLatin1String("2008")) {
            throw UsageError(QStringLiteral("--divisions ждёт 2025 или 2008, а не \"%1\"")
                                 .arg(visibleText(divisions)));
        }
        o.divisions =
            divisions == QLatin1String("2008") ? FigureDivisions::Of2008 : FigureDivisions::Current;
        if (cli.has(QStringLiteral("number-points"))) {
            const QString numbering = cli.value(QStringLiteral("number-points"));
            if (numbering != QLatin1String("column") && numbering != QLatin1String("all")) {
                throw UsageError(QStringLiteral("--number-points ждёт column или all, а не \"%1\"")
                                     .arg(visibleText(numbering)));
            }
            o.numbering = numbering == QLatin1String("all") ? PointNumbering::Continuous
                                                            : PointNumbering::PerColumn;
        }
        request.key = cli.value(QStringLiteral("key"));
        if (cli.has(QStringLiteral("key")) && o.numbering == PointNumbering::None) {
            throw UsageError(QStringLiteral(
                "--key записывает ключ номеров точек: нужен и --number-points column или all"));
        }
        if (cli.has(QStringLiteral("key")) &&
            (request.key.isEmpty() || QFileInfo(request.key).absoluteFilePath() ==
                                          QFileInfo(request.out).absoluteFilePath())) {
            throw UsageError(QStringLiteral("--key ждёт имя файла ключа, другого, чем --out"));
        }
        checkFigureOptions(o);
    } catch (const UsageError&) {
        throw;
    } catch (const ZelkoraError& e) {
        throw UsageError(e.message());
    }
    return request;
}

QStringList figureArgs(const FigureOptions& o) {
    QStringList args;
    if (!o.dataDir.isEmpty()) {
        args << QStringLiteral("--data") << o.dataDir;
    }
    args << QStringLiteral("--map") << QString::number(o.map);
    QString layers;
    for (const bool on : o.layers) {
        layers += on ? QLatin1Char('1') : QLatin1Char('0');
    }
    args << QStringLiteral("--layers") << layers;
    args << QStringLiteral("--format") << figureFormatName(o.format);
    if (!o.preset.isEmpty()) {
        args << QStringLiteral("--preset") << o.preset;
    }
    args << QStringLiteral("--width") << number(o.widthMm) << QStringLiteral("--dpi")
         << number(o.dpi);
    switch (o.extent) {
        case FigureExtent::WholeMap:
            args << QStringLiteral("--extent") << QStringLiteral("map");
            break;
        case FigureExtent::Points:
            args << QStringLiteral("--extent") << QStringLiteral("points");
            break;
        case FigureExtent::Box:
            args << QStringLiteral("--extent")
                 << QStringList{number(o.box.south), number(o.box.west), number(o.box.north),
                                number(o.box.east)}
                        .join(QLatin1Char(','));
            break;
    }
    args << QStringLiteral("--margin") << number(o.marginPercent) << QStringLiteral("--marker")
         << number(o.markerMm);
    if (o.red) {
        args << QStringLiteral("--red");
    }
    args << QStringLiteral("--legend") << cornerName(o.legend);
    if (o.italic) {
        args << QStringLiteral("--italic");
    }
    args << QStringLiteral("--font-size") << number(o.fontPt) << QStringLiteral("--scale-bar")
         << cornerName(o.scaleBar) << QStringLiteral("--lang")
         << (o.language == FigureLanguage::Russian ? QStringLiteral("ru") : QStringLiteral("en"));
    if (o.panels) {
        args << QStringLiteral("--panels");
    }
    args << QStringLiteral("--projection")
         << (o.projection == FigureProjectionKind::Map ? QStringLiteral("map")
                                                       : QStringLiteral("north-up"))
         << QStringLiteral("--graticule") << graticuleWord(o) << QStringLiteral("--frame-labels")
         << (o.labelAllSides ? QStringLiteral("all") : QStringLiteral("left-bottom"))
         << QStringLiteral("--north-arrow") << cornerName(o.northArrow)
         << QStringLiteral("--scale-bar-style")
         << (o.scaleBarStyle == ScaleBarStyle::Ticked ? QStringLiteral("ticked")
                                                      : QStringLiteral("plain"))
         << QStringLiteral("--inset") << cornerName(o.inset);
    // Names, the old divisions and numbers only where asked for: the line stays as short as the
    // figure needs, and settings remembered before them read as they were.
    if (o.nameCountries || o.nameDivisions) {
        args << QStringLiteral("--labels") << namesWord(o);
    }
    if (o.divisions == FigureDivisions::Of2008) {
        args << QStringLiteral("--divisions") << QStringLiteral("2008");
    }
    if (o.numbering != PointNumbering::None) {
        args << QStringLiteral("--number-points")
             << (o.numbering == PointNumbering::Continuous ? QStringLiteral("all")
                                                           : QStringLiteral("column"));
    }
    return args;
}

}  // namespace zelkora
