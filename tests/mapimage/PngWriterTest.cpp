#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdio>

#include "mapimage/PngWriter.h"
#include "mapimage/TPngImage.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestImages.h"
#include "tests/support/TestPng.h"

namespace zelkora {

namespace {

struct WriterCase {
    const char* name;
    PngWriter::Settings settings;
    int colourType;
    std::vector<std::string> chunks;  // in order, runs of IDAT as one
    std::size_t maxIdat;
    int width = 97;
    int height = 61;
};

void PrintTo(const WriterCase& c, std::ostream* os) {
    *os << c.name;
}

class Settings : public testing::TestWithParam<WriterCase> {};

// The chunks and sizes the settings ask for, and the pixels back as they went in (colour types
// without alpha come back opaque).
TEST_P(Settings, ShapeTheFileAndKeepThePixels) {
    const WriterCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath("w.png");
    const TPngImage picture = noise(c.width, c.height, 3);
    const bool rgb = c.settings.colour == PngWriter::Colour::Rgb;
    {
        std::FILE* file = std::fopen(path.toLocal8Bit().constData(), "wb");
        ASSERT_NE(file, nullptr);
        QString error;
        const bool ok =
            PngWriter(c.settings)
                .write(
                    file, picture.Width(), picture.Height(),
                    [&](int y, std::uint8_t* row) {
                        for (int x = 0; x < picture.Width(); ++x) {
                            const Rgba p = pixelAt(picture, x, y);
                            std::copy_n(p.begin(), rgb ? 3 : 4, row + (rgb ? 3 : 4) * x);
                        }
                    },
                    error);
        std::fclose(file);
        ASSERT_TRUE(ok) << error.toStdString();
    }

    std::vector<std::string> chunks;
    for (const PngChunk& chunk : pngChunks(readBytes(path))) {
        if (chunk.type == "IHDR") {
            EXPECT_EQ(chunk.data[9], c.colourType);
        } else if (chunk.type == "pHYs") {
            EXPECT_EQ(bigEndian32(chunk.data.data()), 3937u);
            EXPECT_EQ(bigEndian32(chunk.data.data() + 4), 3937u);
            EXPECT_EQ(chunk.data[8], 1);  // per metre
        } else if (chunk.type == "IDAT") {
            EXPECT_LE(chunk.data.size(), c.maxIdat);
        }
        if (chunks.empty() || chunks.back() != chunk.type) {
            chunks.push_back(chunk.type);
        }
    }
    EXPECT_EQ(chunks, c.chunks);

    TPngImage back;
    back.LoadFromFile(path);
    TPngImage expected = picture;
    for (int y = 0; rgb && y < expected.Height(); ++y) {
        for (int x = 0; x < expected.Width(); ++x) {
            expected.row(y)[4 * x + 3] = 255;
        }
    }
    EXPECT_EQ(back, expected);
}

PngWriter::Settings exportLike() {
    PngWriter::Settings s;
    s.colour = PngWriter::Colour::Rgb;
    s.compressionLevel = 7;
    s.filter = PngWriter::RowFilter::Sub;
    s.maxIdatBytes = 65535;
    return s;
}

PngWriter::Settings generatorLike() {
    PngWriter::Settings s;
    s.compressionLevel = 9;
    s.maxIdatBytes = 1000;
    s.pixelsPerMetre = 3937;
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    PngWriter, Settings,
    testing::Values(
        WriterCase{"Defaults", {}, 6, {"IHDR", "IDAT", "IEND"}, 8192},
        WriterCase{"Export", exportLike(), 2, {"IHDR", "IDAT", "IEND"}, 65535},
        WriterCase{"Generator", generatorLike(), 6, {"IHDR", "pHYs", "IDAT", "IEND"}, 1000},
        // Rows are deflated in blocks of a megabyte; these join into one stream.
        WriterCase{"ExportInBlocks", exportLike(), 2, {"IHDR", "IDAT", "IEND"}, 65535, 900, 1300},
        WriterCase{"DefaultsInBlocks", {}, 6, {"IHDR", "IDAT", "IEND"}, 8192, 1200, 500}),
    [](const auto& info) { return std::string(info.param.name); });

// A stream that cannot be written gives the system's reason.
TEST(PngWriter, AFailedWriteGivesTheSystemsReason) {
    QTemporaryDir dir;
    const QString path = dir.filePath("r.png");
    writeBytes(path, "x");
    std::FILE* file = std::fopen(path.toLocal8Bit().constData(), "rb");
    ASSERT_NE(file, nullptr);
    const TPngImage picture = noise(300, 300, 4);
    QString error;
    const bool ok = PngWriter({}).write(
        file, picture.Width(), picture.Height(),
        [&](int y, std::uint8_t* row) { std::copy_n(picture.row(y), 4 * 300, row); }, error);
    std::fclose(file);
    EXPECT_FALSE(ok);
    EXPECT_EQ(error, QStringLiteral("Bad file descriptor"));
}

}  // namespace

}  // namespace zelkora
