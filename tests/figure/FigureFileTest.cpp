// The files a figure is written to, read back as a journal's checks and the reader's programs
// read them: pixel sizes and resolution tags, the PDF's page, text, fonts and images, the SVG.
#include <gtest/gtest.h>
#include <tiffio.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <cmath>
#include <functional>
#include <random>

#include "figure/FigureFile.h"
#include "figure/FigureLayout.h"
#include "figure/TiffWriter.h"
#include "mapimage/DataPaths.h"
#include "mapimage/PictureFile.h"
#include "tests/figure/FigureFixtures.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestImages.h"
#include "tests/support/TestPng.h"
#include "tests/support/TestProcess.h"

namespace zelkora {

namespace {

struct Resolution {
    int width = 0;
    int height = 0;
    double dpiX = 0.0;
    double dpiY = 0.0;
};

Resolution tiffResolution(const QString& path, QStringList& problems) {
    Resolution r;
    TIFF* tiff = TIFFOpen(path.toLocal8Bit().constData(), "r");
    if (!tiff) {
        problems << QStringLiteral("does not open");
        return r;
    }
    std::uint32_t width = 0, height = 0;
    std::uint16_t bits = 0, samples = 0, compression = 0, photometric = 0, unit = 0;
    float x = 0, y = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetField(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetField(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tiff, TIFFTAG_COMPRESSION, &compression);
    TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetField(tiff, TIFFTAG_RESOLUTIONUNIT, &unit);
    TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &x);
    TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &y);
    std::uint16_t extra = 0;
    std::uint16_t* extraTypes = nullptr;
    if (TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &extra, &extraTypes) && extra > 0) {
        problems << QStringLiteral("has an alpha channel");
    }
    if (bits != 8 || samples != 3 || photometric != PHOTOMETRIC_RGB) {
        problems << QStringLiteral("is not 8-bit RGB");
    }
    if (compression != COMPRESSION_LZW) {
        problems << QStringLiteral("is not LZW");
    }
    if (unit != RESUNIT_INCH) {
        problems << QStringLiteral("resolution unit is not the inch");
    }
    // Every strip decodes.
    std::vector<std::uint8_t> strip(static_cast<std::size_t>(TIFFStripSize(tiff)));
    for (std::uint32_t s = 0; s < TIFFNumberOfStrips(tiff); ++s) {
        if (TIFFReadEncodedStrip(tiff, s, strip.data(), -1) < 0) {
            problems << QStringLiteral("strip %1 does not decode").arg(s);
        }
    }
    TIFFClose(tiff);
    return {static_cast<int>(width), static_cast<int>(height), x, y};
}

Resolution pngResolution(const QString& path, QStringList& problems) {
    Resolution r;
    for (const PngChunk& chunk : pngChunks(readBytes(path))) {
        if (chunk.type == "IHDR") {
            r.width = static_cast<int>(bigEndian32(chunk.data.data()));
            r.height = static_cast<int>(bigEndian32(chunk.data.data() + 4));
            if (chunk.data[8] != 8 || chunk.data[9] != 2) {
                problems << QStringLiteral("is not 8-bit RGB");
            }
        } else if (chunk.type == "pHYs") {
            if (chunk.data[8] != 1) {
                problems << QStringLiteral("pHYs is not in metres");
            }
            r.dpiX = bigEndian32(chunk.data.data()) * 0.0254;
            r.dpiY = bigEndian32(chunk.data.data() + 4) * 0.0254;
        }
    }
    return r;
}

// The JFIF header's density and the frame's size (SOF0).
Resolution jpegResolution(const QString& path, QStringList& problems) {
    Resolution r;
    const QByteArray bytes = readBytes(path);
    const auto u16 = [&](qsizetype at) {
        return (static_cast<std::uint8_t>(bytes[at]) << 8) |
               static_cast<std::uint8_t>(bytes[at + 1]);
    };
    if (!bytes.startsWith("\xFF\xD8\xFF\xE0") || bytes.mid(6, 5) != QByteArray("JFIF\0", 5)) {
        problems << QStringLiteral("has no JFIF header");
        return r;
    }
    if (bytes[13] != 1) {
        problems << QStringLiteral("density is not in dots per inch");
    }
    r.dpiX = u16(14);
    r.dpiY = u16(16);
    const qsizetype sof = bytes.indexOf("\xFF\xC0");
    if (sof < 0) {
        problems << QStringLiteral("is not baseline");
        return r;
    }
    r.height = u16(sof + 5);
    r.width = u16(sof + 7);
    return r;
}

// A quality of 90 or more leaves the first luminance quantisation value small: libjpeg scales
// its base table's 16 by (200 - 2q) %, so q 90 gives 3 and q 95 gives 2.
int firstLuminanceQuantiser(const QString& path) {
    const QByteArray bytes = readBytes(path);
    const qsizetype dqt = bytes.indexOf("\xFF\xDB");
    return dqt < 0 ? -1 : static_cast<std::uint8_t>(bytes[dqt + 5]);
}

struct SizeCase {
    const char* name;
    FigureFormat format;
    const char* preset;  // or the width and dpi below
    double widthMm;
    double dpi;
    int widthPx;
};

void PrintTo(const SizeCase& c, std::ostream* os) {
    *os << c.name;
}

class Sizes : public testing::TestWithParam<SizeCase> {};

// The width in pixels is the width in millimetres at the dpi, and the file says its dpi.
TEST_P(Sizes, AndDpiTagsAreReadBackFromTheFile) {
    const SizeCase& c = GetParam();
    QTemporaryDir dir;
    const auto map = smallFigureMap(kMapFarEast);
    const auto table = tableOf({{0, 1, "45.5, 134.0"}, {0, 2, "44.0, 132.0"}});
    FigureOptions options = optionsFor(kMapFarEast, c.format);
    if (c.preset[0] != '\0') {
        applyFigurePreset(options, QString::fromUtf8(c.preset));
    } else {
        options.widthMm = c.widthMm;
        options.dpi = c.dpi;
    }
    options.extent = FigureExtent::Box;
    options.box = {43.5, 130.0, 46.5, 136.0};  // wide and low: a small file
    const FigureLayout layout = layOutFigure(options, *map, *table);
    const QString path = dir.filePath(QStringLiteral("figure"));
    writeFigure(layout, *map, path);

    QStringList problems;
    Resolution r;
    switch (c.format) {
        case FigureFormat::Tiff:
            r = tiffResolution(path, problems);
            break;
        case FigureFormat::Png:
            r = pngResolution(path, problems);
            break;
        default:
            r = jpegResolution(path, problems);
            EXPECT_LE(firstLuminanceQuantiser(path), 3);
            break;
    }
    EXPECT_TRUE(problems.isEmpty()) << problems.join(QStringLiteral(", ")).toStdString();
    EXPECT_EQ(r.width, c.widthPx);
    EXPECT_EQ(r.height, layout.pixels.height());
    EXPECT_NEAR(r.height, layout.pageMm.height() / 25.4 * options.dpi, 0.5);
    EXPECT_NEAR(r.dpiX, options.dpi, 0.01);
    EXPECT_NEAR(r.dpiY, options.dpi, 0.01);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, Sizes,
    testing::Values(SizeCase{"Tiff89mmAt600", FigureFormat::Tiff, "", 89, 600, 2102},
                    SizeCase{"Png183mmAt300", FigureFormat::Png, "", 183, 300, 2161},
                    SizeCase{"Jpeg190mmAt500", FigureFormat::Jpeg, "", 190, 500, 3740},
                    SizeCase{"TiffNature1", FigureFormat::Tiff, "nature-1", 0, 0, 2102},
                    SizeCase{"TiffElsevier2", FigureFormat::Tiff, "elsevier-2", 0, 0, 3740},
                    SizeCase{"TiffPlos", FigureFormat::Tiff, "plos", 0, 0, 2250}),
    [](const auto& info) { return std::string(info.param.name); });

// The LZW strips decode in libtiff to the rows given: noise that fills the code table again and
// again, long runs, and a picture of both, across strips of every length.
TEST(TiffWriter, StripsDecodeToTheirRows) {
    QTemporaryDir dir;
    struct Case {
        const char* name;
        int width;
        int height;
        std::function<std::uint8_t(int x, int y)> sample;
    };
    std::mt19937 random(3);
    std::vector<std::uint8_t> noiseBytes(700 * 3 * 300);
    for (std::uint8_t& b : noiseBytes) {
        b = static_cast<std::uint8_t>(random());
    }
    const Case cases[] = {
        {"noise", 700, 300,
         [&](int x, int y) { return noiseBytes[static_cast<std::size_t>(y * 2100 + x)]; }},
        {"one colour", 1500, 400, [](int, int) { return std::uint8_t{200}; }},
        {"runs and noise", 4323, 90,
         [&](int x, int y) {
             return (x / 300 + y / 7) % 3 == 0
                        ? noiseBytes[static_cast<std::size_t>((x * 7 + y) % noiseBytes.size())]
                        : static_cast<std::uint8_t>((x / 500) * 30);
         }},
        {"one pixel", 1, 1, [](int, int) { return std::uint8_t{7}; }},
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath(QStringLiteral("strips.tif"));
        savePictureFile(path, [&](std::FILE* file, QString& error) {
            return TiffWriter(300).write(
                file, c.width, c.height,
                [&](int y, std::uint8_t* row) {
                    for (int x = 0; x < c.width * 3; ++x) {
                        row[x] = c.sample(x, y);
                    }
                },
                error);
        });
        TIFF* tiff = TIFFOpen(path.toLocal8Bit().constData(), "r");
        ASSERT_NE(tiff, nullptr) << c.name;
        std::vector<std::uint8_t> row(static_cast<std::size_t>(TIFFScanlineSize(tiff)));
        int wrong = 0;
        for (int y = 0; y < c.height; ++y) {
            ASSERT_EQ(TIFFReadScanline(tiff, row.data(), static_cast<std::uint32_t>(y)), 1)
                << c.name;
            for (int x = 0; x < c.width * 3; ++x) {
                wrong += row[static_cast<std::size_t>(x)] != c.sample(x, y) ? 1 : 0;
            }
        }
        TIFFClose(tiff);
        EXPECT_EQ(wrong, 0) << c.name;
    }
}

ProcessRun tool(const char* name, const QStringList& args) {
    const ProcessRun run = runProcess(QString::fromUtf8(name), args);
    EXPECT_EQ(run.exitCode, 0) << name << ": " << run.err.toStdString();
    return run;
}

class Pdf : public testing::Test {
  protected:
    QString write(const FigureMap& map, const PointTable& table, FigureOptions options) {
        options.format = FigureFormat::Pdf;
        layout_ = layOutFigure(options, map, table);
        const QString path = dir_.filePath(QStringLiteral("figure.pdf"));
        writeFigure(layout_, map, path);
        return path;
    }

    QTemporaryDir dir_;
    FigureLayout layout_;
};

// The page is the figure's size to a hundredth of a point; text is text, Cyrillic included, in
// embedded fonts; a map with vector data puts no image at all into the file.
TEST_F(Pdf, IsAVectorPageOfTheFiguresSize) {
    const auto map = smallFigureMap(kMapFarEast);
    const auto table = tableOf({{0, 0, "Дуб монгольский"},
                                {0, 1, "45.5, 134.0"},
                                {3, 0, "Abies holophylla"},
                                {3, 1, "44.0, 132.0"}});
    FigureOptions options = optionsFor(kMapFarEast);
    options.italic = true;
    const QString path = write(*map, *table, options);

    const QRegularExpression pageSize(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts"));
    const auto size = pageSize.match(tool("pdfinfo", {path}).out);
    ASSERT_TRUE(size.hasMatch());
    EXPECT_NEAR(size.captured(1).toDouble(), layout_.pageMm.width() * 72 / 25.4, 0.01);
    EXPECT_NEAR(size.captured(2).toDouble(), layout_.pageMm.height() * 72 / 25.4, 0.01);

    const QString text = tool("pdftotext", {path, QStringLiteral("-")}).out;
    EXPECT_TRUE(text.contains(QStringLiteral("Дуб монгольский"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Abies holophylla")));
    EXPECT_TRUE(text.contains(QStringLiteral("km")));

    const QStringList fonts =
        tool("pdffonts", {path}).out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
    ASSERT_FALSE(fonts.isEmpty());
    for (const QString& font : fonts) {
        const QStringList columns = font.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        // name, type..., encoding, emb, sub, uni, object, generation: "emb" is fifth from the end.
        ASSERT_GE(columns.size(), 6) << font.toStdString();
        EXPECT_EQ(columns[columns.size() - 5], QStringLiteral("yes")) << font.toStdString();
    }
    EXPECT_TRUE(fonts.join(' ').contains(QStringLiteral("LiberationSans-Italic")));

    const QStringList images =
        tool("pdfimages", {QStringLiteral("-list"), path}).out.split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(images.size(), 2) << images.join('\n').toStdString();  // the heading lines only
}

// A map without vector data goes into the PDF as a picture, compressed without loss.
TEST_F(Pdf, KeepsARasterMapLossless) {
    const QString data = dir_.filePath(QStringLiteral("data/"));
    const QString caption = kMapCaptions[kMapVietnam];
    QDir().mkpath(mapFolderPath(data, caption, false));
    noise(1000, 1680, 7).SaveToFile(baseImagePath(data, caption, false));
    const auto map = FigureMap::load(data, kMapVietnam);
    const auto table = tableOf({{0, 1, "16.0, 106.0"}});
    FigureOptions options = optionsFor(kMapVietnam);
    options.extent = FigureExtent::Box;
    options.box = {14.0, 104.0, 18.0, 108.0};
    const QString path = write(*map, *table, options);
    const QStringList images =
        tool("pdfimages", {QStringLiteral("-list"), path}).out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(images.size(), 3) << images.join('\n').toStdString();
    const QStringList columns = images[2].split(' ', Qt::SkipEmptyParts);
    // page num type width height color comp bpc enc ...
    EXPECT_EQ(columns.value(8), QStringLiteral("image")) << images[2].toStdString();
}

// An SVG that parses, sized in millimetres, with its text as <text>.
TEST(Svg, ParsesWithTextAndASizeInMillimetres) {
    QTemporaryDir dir;
    const auto map = smallFigureMap(kMapVietnam);
    const auto table = tableOf({{2, 0, "Lagerstroemia"}, {2, 1, "16.0, 106.0"}});
    FigureOptions options = optionsFor(kMapVietnam, FigureFormat::Svg);
    const FigureLayout layout = layOutFigure(options, *map, *table);
    const QString path = dir.filePath(QStringLiteral("figure.svg"));
    writeFigure(layout, *map, path);

    QXmlStreamReader xml(readBytes(path));
    QStringList texts;
    QString width;
    QString height;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == QLatin1String("svg")) {
            width = xml.attributes().value(QStringLiteral("width")).toString();
            height = xml.attributes().value(QStringLiteral("height")).toString();
        } else if (xml.name() == QLatin1String("text")) {
            texts << xml.readElementText();
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(width, QStringLiteral("89mm"));
    ASSERT_TRUE(height.endsWith(QStringLiteral("mm")));
    EXPECT_NEAR(height.chopped(2).toDouble(), layout.pageMm.height(), 0.01);
    EXPECT_TRUE(texts.contains(QStringLiteral("Lagerstroemia"))) << texts.join('|').toStdString();
    EXPECT_TRUE(texts.contains(layout.scaleBar.label));
}

}  // namespace

}  // namespace zelkora
