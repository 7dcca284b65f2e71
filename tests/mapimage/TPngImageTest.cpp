#include <gtest/gtest.h>
#include <zlib.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/ZelkoraError.h"
#include "mapimage/TPngImage.h"
#include "tests/mapimage/PngFixture.h"
#include "tests/support/TestFiles.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes pixelsOf(const TPngImage& image) {
    return Bytes(image.bits(), image.bits() + image.byteCount());
}

// Every file kind ends up as 8-bit RGBA.
struct KindCase {
    const char* name;
    PngFixture file;
    Bytes rgba;
};

void PrintTo(const KindCase& c, std::ostream* os) {
    *os << c.name;
}

PngFixture fixture(int width, int colorType, int bitDepth, Bytes rows) {
    PngFixture f;
    f.width = width;
    f.colorType = colorType;
    f.bitDepth = bitDepth;
    f.rows = std::move(rows);
    return f;
}

PngFixture withTrns(PngFixture f, Bytes trns, Bytes palette = {}) {
    f.trns = std::move(trns);
    f.palette = std::move(palette);
    return f;
}

PngFixture withGamma(PngFixture f, int gamma) {
    f.gamma = gamma;
    return f;
}

class FileKinds : public testing::TestWithParam<KindCase> {};

TEST_P(FileKinds, ReadAsRgba8) {
    const KindCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kind.png"));
    c.file.write(path);
    TPngImage image;
    image.LoadFromFile(path);
    EXPECT_EQ(image.Width(), c.file.width);
    EXPECT_EQ(image.Height(), 1);
    EXPECT_EQ(pixelsOf(image), c.rgba);
}

INSTANTIATE_TEST_SUITE_P(
    Png, FileKinds,
    testing::Values(
        KindCase{"Rgba8",
                 fixture(2, 6, 8, {1, 2, 3, 4, 250, 251, 252, 0}),
                 {1, 2, 3, 4, 250, 251, 252, 0}},
        KindCase{"Rgb8IsOpaque", fixture(1, 2, 8, {10, 20, 30}), {10, 20, 30, 255}},
        KindCase{"Grey8", fixture(2, 0, 8, {0, 77}), {0, 0, 0, 255, 77, 77, 77, 255}},
        KindCase{"GreyAlpha8", fixture(1, 4, 8, {90, 40}), {90, 90, 90, 40}},
        KindCase{"Grey1Bit", fixture(2, 0, 1, {0b0100'0000}), {0, 0, 0, 255, 255, 255, 255, 255}},
        // Upper byte, not a rescale: 0x01FF would scale to 2.
        KindCase{"Rgba16KeepsUpperByte",
                 fixture(1, 6, 16, {0x01, 0xFF, 0xAB, 0x00, 0xFF, 0xFF, 0x80, 0x7F}),
                 {0x01, 0xAB, 0xFF, 0x80}},
        KindCase{"Grey16", fixture(1, 0, 16, {0x01, 0xFF}), {1, 1, 1, 255}},
        KindCase{"PaletteWithTrns",
                 withTrns(fixture(3, 3, 8, {0, 1, 2}), {0, 100}, {9, 8, 7, 6, 5, 4, 3, 2, 1}),
                 {9, 8, 7, 0, 6, 5, 4, 100, 3, 2, 1, 255}},
        KindCase{"RgbTrnsColourIsTransparent",
                 withTrns(fixture(2, 2, 8, {10, 20, 30, 1, 2, 3}), {0, 10, 0, 20, 0, 30}),
                 {10, 20, 30, 0, 1, 2, 3, 255}},
        // 255 * (128 / 255) ^ (1 / 2.2) = 186.4; alpha keeps its value.
        KindCase{"GammaOneBrightensColourOnly",
                 withGamma(fixture(3, 6, 8, {128, 0, 255, 128, 0, 0, 0, 0, 0, 0, 0, 255}), 100000),
                 {186, 0, 255, 128, 0, 0, 0, 0, 0, 0, 0, 255}},
        // 255 * (64 / 255) ^ (1 / 1.1) = 72.57.
        KindCase{"GammaHalf", withGamma(fixture(1, 2, 8, {64, 64, 64}), 50000), {73, 73, 73, 255}},
        KindCase{"UsualGammaKeepsSamples",
                 withGamma(fixture(3, 2, 8, {1, 2, 3, 127, 128, 129, 253, 254, 255}), 45455),
                 {1, 2, 3, 255, 127, 128, 129, 255, 253, 254, 255, 255}}),
    [](const auto& info) { return std::string(info.param.name); });

// Packed palette indices, four to a byte.
TEST(FileKinds, Palette2BitUsesPaletteEntries) {
    PngFixture f = fixture(4, 3, 2, {0b00'01'10'11});
    f.palette = {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.png"));
    f.write(path);
    TPngImage image;
    image.LoadFromFile(path);
    EXPECT_EQ(pixelsOf(image), (Bytes{1, 1, 1, 255, 2, 2, 2, 255, 3, 3, 3, 255, 4, 4, 4, 255}));
}

// A picture whose every pixel differs, as stored both ways.
TEST(FileKinds, InterlacedReadsLikePlain) {
    PngFixture f;
    f.width = 13;
    f.height = 11;
    for (int i = 0; i < f.width * f.height * 4; ++i) {
        f.rows.push_back(static_cast<std::uint8_t>(i * 7 + i / 5));
    }
    QTemporaryDir dir;
    const QString plainPath = dir.filePath(QStringLiteral("plain.png"));
    const QString adam7Path = dir.filePath(QStringLiteral("adam7.png"));
    f.write(plainPath);
    f.interlaced = true;
    f.write(adam7Path);
    TPngImage plain;
    TPngImage adam7;
    plain.LoadFromFile(plainPath);
    adam7.LoadFromFile(adam7Path);
    EXPECT_EQ(pixelsOf(plain), f.rows);
    EXPECT_EQ(adam7, plain);
}

// --- Files that cannot be read: a message naming the file, the raster kept as it was.

void appendChunk(QByteArray& png, const char* type, const QByteArray& data) {
    const auto be32 = [&](quint32 v) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            png.append(static_cast<char>(v >> shift & 0xFF));
        }
    };
    be32(static_cast<quint32>(data.size()));
    const QByteArray typed = QByteArray(type) + data;
    png.append(typed);
    be32(static_cast<quint32>(crc32(0, reinterpret_cast<const Bytef*>(typed.constData()),
                                    static_cast<uInt>(typed.size()))));
}

// A header claiming width x height RGBA pixels, followed by a few bytes of image data.
QByteArray claimedSizePng(quint32 width, quint32 height) {
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray ihdr;
    for (quint32 v : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            ihdr.append(static_cast<char>(v >> shift & 0xFF));
        }
    }
    ihdr.append(QByteArray("\x08\x06\x00\x00\x00", 5));
    appendChunk(png, "IHDR", ihdr);
    appendChunk(png, "IDAT", QByteArray("\x78\x9c\x03\x00\x00\x00\x00\x01", 8));
    appendChunk(png, "IEND", {});
    return png;
}

class UnreadableFiles : public testing::Test {
  protected:
    void SetUp() override {
        PngFixture f;
        f.width = 64;
        f.height = 64;
        for (int i = 0; i < 64 * 64 * 4; ++i) {
            f.rows.push_back(static_cast<std::uint8_t>((i * 2654435761u) >> 13));
        }
        goodPath = dir.filePath(QStringLiteral("good.png"));
        f.write(goodPath);
        good = readBytes(goodPath);
        before.LoadFromFile(goodPath);
    }

    // Loads the bytes as a file into a raster that holds a picture, expects failure.
    void expectRefused(const QByteArray& bytes, const char* wording) {
        const QString path = dir.filePath(QStringLiteral("bad file.png"));
        writeBytes(path, bytes);
        expectRefusedPath(path, wording);
    }

    void expectRefusedPath(const QString& path, const char* wording) {
        TPngImage image = before;
        try {
            image.LoadFromFile(path);
            ADD_FAILURE() << "no error for " << wording;
        } catch (const ZelkoraError& e) {
            EXPECT_TRUE(e.message().contains(path)) << e.what();
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(wording))) << e.what();
        }
        EXPECT_EQ(image, before);
    }

    QTemporaryDir dir;
    QString goodPath;
    QByteArray good;
    TPngImage before;
};

TEST_F(UnreadableFiles, MissingOrDirectory) {
    expectRefusedPath(dir.filePath(QStringLiteral("absent.png")), "Не удаётся открыть");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.png")));
    expectRefusedPath(dir.filePath(QStringLiteral("folder.png")), "Не удаётся открыть");
}

TEST_F(UnreadableFiles, NotPng) {
    expectRefused({}, "не является изображением PNG");
    expectRefused("GIF89a this is not a png at all", "не является изображением PNG");
    expectRefused(good.left(7), "не является изображением PNG");
}

TEST_F(UnreadableFiles, DamagedPng) {
    expectRefused(good.left(good.size() / 2), "повреждён");
    expectRefused(good.left(33), "повреждён");  // signature and header only
    QByteArray flipped = good;
    flipped[good.indexOf("IDAT") + 20] =
        static_cast<char>(flipped[good.indexOf("IDAT") + 20] ^ 0x55);
    expectRefused(flipped, "повреждён");

    // A bad checksum in an ancillary chunk would silently drop the chunk (a gamma value, say).
    QByteArray text;
    appendChunk(text, "tEXt", QByteArray("Comment\0x", 9));
    text[text.size() - 1] = static_cast<char>(text[text.size() - 1] ^ 0x01);
    expectRefused(good.left(33) + text + good.mid(33), "повреждён");
}

TEST_F(UnreadableFiles, TooLargeIsRefusedBeforeAllocating) {
    expectRefused(claimedSizePng(100000, 100000), "слишком велико");
    // Within the pixel limit, but 1 GiB of pixels cannot come from a few bytes of data.
    expectRefused(claimedSizePng(16384, 16384), "данных слишком мало");
}

// --- Writing.

TEST(SaveToFile, RoundTripsAsRgba8) {
    Bytes rgba;
    for (int i = 0; i < 5 * 3 * 4; ++i) {
        rgba.push_back(static_cast<std::uint8_t>(i * 37));
    }
    const TPngImage image = rasterOf(5, 3, rgba);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.png"));
    writeBytes(path, "an older file of that name");
    image.SaveToFile(path);

    const QByteArray bytes = readBytes(path);
    ASSERT_GT(bytes.size(), 26);
    EXPECT_EQ(bytes[24], 8);  // bit depth
    EXPECT_EQ(bytes[25], 6);  // colour type RGBA
    TPngImage back;
    back.LoadFromFile(path);
    EXPECT_EQ(back, image);
}

TEST(SaveToFile, FailureLeavesNoFile) {
    QTemporaryDir dir;
    const QString inMissingFolder = dir.filePath(QStringLiteral("no/such/folder/out.png"));
    EXPECT_THROW(rasterOf(1, 1, {1, 2, 3, 4}).SaveToFile(inMissingFolder), ZelkoraError);
    EXPECT_FALSE(QFile::exists(inMissingFolder));

    const QString path = dir.filePath(QStringLiteral("empty.png"));
    EXPECT_THROW(TPngImage().SaveToFile(path), ZelkoraError);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

// --- The raster itself.

TEST(Raster, BlankIsTransparentBlack) {
    const TPngImage blank = TPngImage::CreateBlank(3, 2);
    EXPECT_EQ(blank.Width(), 3);
    EXPECT_EQ(blank.Height(), 2);
    EXPECT_EQ(pixelsOf(blank), Bytes(3 * 2 * 4, 0));
    EXPECT_TRUE(TPngImage::CreateBlank(0, 5).isEmpty());
}

TEST(Raster, SizesOutOfRangeAreRefused) {
    EXPECT_THROW(TPngImage::CreateBlank(-1, 1), ZelkoraError);
    EXPECT_THROW(TPngImage::CreateBlank(1, -1), ZelkoraError);
    EXPECT_THROW(TPngImage::CreateBlank(1 << 15, 1 << 14), ZelkoraError);
}

TEST(Raster, ScanlineChecksItsRow) {
    TPngImage image = rasterOf(2, 2, {1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4});
    EXPECT_EQ(image.Scanline(1)[4], 4);
    EXPECT_THROW(image.Scanline(2), ZelkoraError);
    EXPECT_THROW(image.Scanline(-1), ZelkoraError);
    EXPECT_THROW(TPngImage().Scanline(0), ZelkoraError);
    const TPngImage& constImage = image;
    EXPECT_EQ(constImage.Scanline(0)[0], 1);
}

TEST(Raster, QImageRoundTripKeepsStraightAlpha) {
    const TPngImage image = rasterOf(2, 1, {200, 100, 50, 128, 9, 9, 9, 0});
    const QImage q = image.toQImage();
    EXPECT_EQ(q.format(), QImage::Format_RGBA8888);
    EXPECT_EQ(q.pixelColor(0, 0), QColor(200, 100, 50, 128));
    EXPECT_EQ(TPngImage::fromQImage(q), image);
    EXPECT_TRUE(TPngImage().toQImage().isNull());
    EXPECT_TRUE(TPngImage::fromQImage(QImage()).isEmpty());

    QImage argb(1, 1, QImage::Format_ARGB32);
    argb.setPixelColor(0, 0, QColor(10, 20, 30, 40));
    EXPECT_EQ(pixelsOf(TPngImage::fromQImage(argb)), (Bytes{10, 20, 30, 40}));
}

}  // namespace
