// The figure's options and the words of `zelkora-cli figure`: the window's dialog turns its
// settings into these words, so that the same settings draw the same figure either way.
#include <gtest/gtest.h>

#include "cli/CliArgs.h"
#include "cli/FigureArgs.h"

namespace zelkora {

namespace {

FigureOptions withEverythingChanged() {
    FigureOptions o;
    o.dataDir = QStringLiteral("/tmp/zelkora data/");
    o.map = kMapVietnam;
    o.layers = {false, true, true, false, true};
    o.markerMm = 3.25;
    o.red = true;
    o.extent = FigureExtent::Box;
    o.box = {-10.5, 100.125, 23.9, 190.35};
    o.marginPercent = 0.1 + 0.2;  // a number that needs all its digits
    applyFigurePreset(o, QStringLiteral("nature-1.5"));
    o.widthMm = 130.0;
    o.legend = FigureCorner::BottomRight;
    o.italic = true;
    o.fontPt = 6.5;
    o.scaleBar = FigureCorner::None;
    o.language = FigureLanguage::Russian;
    o.panels = true;
    o.format = FigureFormat::Svg;
    o.nameCountries = true;
    o.nameDivisions = true;
    o.divisions = FigureDivisions::Of2008;
    o.numbering = PointNumbering::Continuous;
    return o;
}

// Words for options read back as the same options, whatever was changed.
TEST(FigureArgs, GiveTheirOptionsBack) {
    FigureOptions defaults;
    defaults.dataDir = QStringLiteral("/data/");
    FigureOptions plos = defaults;
    applyFigurePreset(plos, QStringLiteral("plos"));
    FigureOptions points = defaults;
    points.extent = FigureExtent::Points;
    points.marginPercent = 25;
    points.nameDivisions = true;
    points.numbering = PointNumbering::PerColumn;
    for (const FigureOptions& o : {defaults, plos, points, withEverythingChanged()}) {
        const QStringList words = figureArgs(o) << QStringLiteral("--out") << QStringLiteral("x");
        const FigureRequest back = figureRequestFromArgs(words);
        EXPECT_EQ(back.options, o) << words.join(' ').toStdString();
        EXPECT_EQ(back.out, QStringLiteral("x"));
    }
    // Each number as short as it reads back, as the dialog shows the words for copying.
    EXPECT_TRUE(
        figureArgs(withEverythingChanged()).contains(QStringLiteral("-10.5,100.125,23.9,190.35")));
}

TEST(FigureArgs, ReadTheCommandLine) {
    const FigureRequest r = figureRequestFromArgs(
        {"--map",    "1",        "--table",  "t.points",      "--out",     "fig.PDF",
         "--preset", "nature-2", "--extent", "-1,120,45,190", "--legend",  "none",
         "--lang",   "ru",       "--report", "--labels",      "countries", "--number-points",
         "column",   "--key",    "key.csv"});
    EXPECT_EQ(r.options.format, FigureFormat::Pdf);
    EXPECT_EQ(r.options.widthMm, 183.0);
    EXPECT_EQ(r.options.dpi, 600.0);
    EXPECT_EQ(r.options.maxHeightMm, 247.0);
    EXPECT_EQ(r.options.extent, FigureExtent::Box);
    EXPECT_EQ(r.options.box, (DegreeBox{-1.0, 120.0, 45.0, 190.0}));
    EXPECT_EQ(r.options.legend, FigureCorner::None);
    EXPECT_EQ(r.options.language, FigureLanguage::Russian);
    EXPECT_EQ(r.table, QStringLiteral("t.points"));
    EXPECT_TRUE(r.report);
    EXPECT_TRUE(r.options.nameCountries);
    EXPECT_FALSE(r.options.nameDivisions);
    EXPECT_EQ(r.options.divisions, FigureDivisions::Current);
    EXPECT_EQ(r.options.numbering, PointNumbering::PerColumn);
    EXPECT_EQ(r.key, QStringLiteral("key.csv"));

    // Both kinds of names, either way round; none.
    for (const char* both : {"countries,provinces", "provinces,countries"}) {
        const FigureOptions o =
            figureRequestFromArgs({"--map", "0", "--out", "f.tif", "--labels", both}).options;
        EXPECT_TRUE(o.nameCountries && o.nameDivisions) << both;
    }
    const FigureOptions none =
        figureRequestFromArgs({"--map", "0", "--out", "f.tif", "--labels", "none", "--divisions",
                               "2008", "--number-points", "all"})
            .options;
    EXPECT_FALSE(none.nameCountries || none.nameDivisions);
    EXPECT_EQ(none.divisions, FigureDivisions::Of2008);
    EXPECT_EQ(none.numbering, PointNumbering::Continuous);
}

// Each mistake is a usage error that names what is wrong.
TEST(FigureArgs, RefuseWhatTheyCannotRead) {
    struct Case {
        QStringList words;
        const char* says;
    };
    const QStringList base = {"--map", "1", "--out", "f.tif"};
    const Case cases[] = {
        {{"--map", "1", "--out", "f.gif"}, ".tif, .png, .jpg, .pdf или .svg"},
        {base + QStringList{"--format", "eps"}, "--format"},
        {base + QStringList{"--preset", "science"}, "nature-1"},
        {base + QStringList{"--legend", "middle"}, "--legend"},
        {base + QStringList{"--scale-bar", "top"}, "--scale-bar"},
        {base + QStringList{"--extent", "40,130,45"}, "--extent"},
        {base + QStringList{"--extent", "45,130,40,135"}, "юг должен быть меньше севера"},
        {base + QStringList{"--width", "five"}, "--width"},
        {base + QStringList{"--width", "5"}, "Ширина рисунка"},
        {base + QStringList{"--dpi", "100000"}, "Разрешение"},
        {base + QStringList{"--marker", "0"}, "Размер значков"},
        {base + QStringList{"--lang", "de"}, "--lang"},
        {base + QStringList{"--size", "3"}, "--size"},
        {base + QStringList{"extra"}, "extra"},
        {base + QStringList{"--labels", "cities"}, "--labels"},
        {base + QStringList{"--labels", "countries,"}, "--labels"},
        {base + QStringList{"--labels", "none,countries"}, "--labels"},
        {base + QStringList{"--divisions", "2020"}, "--divisions"},
        {base + QStringList{"--number-points", "row"}, "--number-points"},
        {base + QStringList{"--key", "key.csv"}, "--number-points column или all"},
        {base + QStringList{"--number-points", "all", "--key", "f.tif"}, "другого, чем --out"},
        {{"--map", "1"}, "--out"},
    };
    for (const Case& c : cases) {
        try {
            figureRequestFromArgs(c.words);
            ADD_FAILURE() << c.words.join(' ').toStdString() << " was taken";
        } catch (const UsageError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.says)))
                << c.words.join(' ').toStdString() << ": " << e.what();
        }
    }
}

}  // namespace

}  // namespace zelkora
