#include <gtest/gtest.h>
#include <zlib.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/ZelkoraError.h"
#include "mapimage/TPngImage.h"
#include "tests/mapimage/PngFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPng.h"

namespace zelkora {

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

// --- Hostile files: each gives its message (or reads), in little memory, and a raster that
// fails to load keeps what it held.

QByteArray be32(quint32 v) {
    QByteArray out;
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.append(static_cast<char>(v >> shift & 0xFF));
    }
    return out;
}

QByteArray chunk(const char* type, const QByteArray& data) {
    const QByteArray typed = QByteArray(type) + data;
    return be32(static_cast<quint32>(data.size())) + typed +
           be32(static_cast<quint32>(crc32(0, reinterpret_cast<const Bytef*>(typed.constData()),
                                           static_cast<uInt>(typed.size()))));
}

const QByteArray kSignature("\x89PNG\r\n\x1a\n", 8);

QByteArray ihdr(quint32 width, quint32 height, int bitDepth, int colorType) {
    return chunk("IHDR", be32(width) + be32(height) + static_cast<char>(bitDepth) +
                             static_cast<char>(colorType) + QByteArray(3, '\0'));
}

QByteArray idat(const QByteArray& filteredRows) {
    return chunk("IDAT", qCompress(filteredRows).mid(4));  // qCompress puts a length first
}

const QByteArray kIend = chunk("IEND", {});

// A 2 x 1 RGBA picture: a red pixel and a half-transparent blue one.
QByteArray goodPng() {
    return kSignature + ihdr(2, 1, 8, 6) + idat(QByteArray("\0\xFF\0\0\xFF\0\0\xFF\x80", 9)) +
           kIend;
}

const Bytes kGoodPixels = {255, 0, 0, 255, 0, 0, 255, 128};

// The signature and a header, then a chunk that claims about 2 * 10^9 bytes: 49 bytes in all.
QByteArray claimsHugeChunk(const char* type) {
    return (kSignature + ihdr(1, 1, 8, 6) + be32(2000000000) + type + "abcdefgh").left(49);
}

// 16384 x 16384 at 1 bit per pixel, all white, its image data cut off after 16.5 KB.
QByteArray truncatedOneBitPng() {
    const int side = 16384;
    const QByteArray row = QByteArray(1, '\0') + QByteArray(side / 8, '\xFF');
    QByteArray rows;
    rows.reserve(row.size() * side);
    for (int y = 0; y < side; ++y) {
        rows += row;
    }
    const QByteArray data = qCompress(rows, 9).mid(4).left(16500);
    return kSignature + ihdr(side, side, 1, 0) + chunk("IDAT", data);
}

QByteArray withBadCrc(QByteArray png, const char* type) {
    const qsizetype at = png.indexOf(type);
    const quint32 length =
        bigEndian32(reinterpret_cast<const std::uint8_t*>(png.constData()) + at - 4);
    const qsizetype crcAt = at + 4 + static_cast<qsizetype>(length);
    png[crcAt] = static_cast<char>(png[crcAt] ^ 0x01);
    return png;
}

QByteArray cutAfter(const QByteArray& png, const char* type, int extra) {
    return png.left(png.indexOf(type) + 4 + extra);
}

struct HostileCase {
    const char* name;
    QByteArray bytes;
    QString message;  // %1 the file's name in «»; empty: the file reads
    Bytes pixels = {};
};

std::vector<HostileCase> hostileCases() {
    const QByteArray good = goodPng();
    const QByteArray header = kSignature + ihdr(2, 1, 8, 6);
    const QString damaged = QStringLiteral("Файл PNG %1 повреждён: ");
    const QString notPng = QStringLiteral("Файл %1 не является изображением PNG");
    const QString endOfFile = damaged + QStringLiteral("unexpected end of file");
    std::vector<HostileCase> cases = {
        {"empty", {}, notPng},
        {"not a PNG", "GIF89a this is not a png at all", notPng},
        {"signature cut short", kSignature.left(7), notPng},
        {"signature only", kSignature, endOfFile},
        {"IHDR cut short", cutAfter(good, "IHDR", 6), endOfFile},
        {"IDAT cut short", cutAfter(good, "IDAT", 5), endOfFile},
        {"no IEND", good.left(good.indexOf("IEND") - 4), endOfFile},
        {"IEND cut short", good.left(good.size() - 2), endOfFile},
        {"bad CRC in IDAT", withBadCrc(good, "IDAT"), damaged + QStringLiteral("IDAT: CRC error")},
        // A bad checksum must not silently drop a chunk, even one that is not read.
        {"bad CRC in tEXt",
         withBadCrc(header + chunk("tEXt", QByteArray("Comment\0x", 9)) + good.mid(header.size()),
                    "tEXt"),
         damaged + QStringLiteral("tEXt: CRC error")},
        {"bad zlib stream", header + chunk("IDAT", "\x78\x9c\xFF\xFF\xFF\xFF") + kIend,
         damaged + QStringLiteral("IDAT: invalid block type")},
        {"zero width", kSignature + ihdr(0, 1, 8, 6) + kIend,
         damaged + QStringLiteral("Invalid IHDR data")},
        {"100000 x 100000 declared",
         kSignature + ihdr(100000, 100000, 8, 6) + idat(QByteArray(9, '\0')) + kIend,
         QStringLiteral("Изображение %1 слишком велико: 100000 × 100000 точек")},
        // Index 5 of a two-colour palette: libpng reads it as black.
        {"palette index out of range",
         kSignature + ihdr(2, 1, 8, 3) + chunk("PLTE", QByteArray("\x0A\x14\x1E\x28\x32\x3C", 6)) +
             idat(QByteArray("\0\x01\x05", 3)) + kIend,
         {},
         {40, 50, 60, 255, 0, 0, 0, 255}},
        // The transparent grey is matched at 16 bits before the upper byte is kept.
        {"16-bit grey with tRNS",
         kSignature + ihdr(2, 1, 16, 0) + chunk("tRNS", QByteArray("\x01\x02", 2)) +
             idat(QByteArray("\0\x01\x02\x01\x03", 5)) + kIend,
         {},
         {1, 1, 1, 0, 1, 1, 1, 255}},
        // An animated PNG shows its default image; the frames are unknown chunks.
        {"APNG",
         header + chunk("acTL", be32(2) + be32(0)) +
             chunk("fcTL", be32(0) + be32(2) + be32(1) + be32(0) + be32(0) +
                               QByteArray("\0\x01\0\x01\0\0", 6)) +
             good.mid(header.size(), good.indexOf("IEND") - 4 - header.size()) +
             chunk("fdAT", be32(1) + qCompress(QByteArray(9, '\0')).mid(4)) + kIend,
         {},
         kGoodPixels},
        {"trailing data", good + "trailing bytes", {}, kGoodPixels},
        {"2 MB text chunk",
         header + chunk("tEXt", "Comment" + QByteArray(1, '\0') + QByteArray(2 << 20, 'x')) +
             good.mid(header.size()),
         {},
         kGoodPixels},
        {"16384 x 16384 at 1 bit with 16.5 KB of data", truncatedOneBitPng(),
         damaged + QStringLiteral("данных слишком мало для размера 16384 × 16384 точек")},
    };
    for (const char* type : {"tEXt", "zTXt", "iTXt", "pCAL", "sCAL", "sPLT", "iCCP"}) {
        cases.push_back({type, claimsHugeChunk(type), endOfFile});
    }
    return cases;
}

TEST(HostileFiles, GiveTheirMessage) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad file.png"));
    const TPngImage before = rasterOf(1, 1, {1, 2, 3, 4});
    for (const HostileCase& c : hostileCases()) {
        SCOPED_TRACE(c.name);
        writeBytes(path, c.bytes);
        TPngImage image = before;
        QString error;
        try {
            image.LoadFromFile(path);
        } catch (const ZelkoraError& e) {
            error = e.message();
        }
        if (c.message.isEmpty()) {
            EXPECT_EQ(error.toStdString(), "");
            EXPECT_EQ(pixelsOf(image), c.pixels);
        } else {
            EXPECT_EQ(error.toStdString(),
                      c.message.arg(QStringLiteral("«%1»").arg(path)).toStdString());
            EXPECT_EQ(image, before);
        }
    }
}

// A claimed size must never be allocated before the data is there to fill it: a text chunk
// claiming 2 GB once cost 2 GB, a truncated 1-bit picture 1 GiB.
TEST(HostileFiles, PeakMemoryStaysSmall) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad file.png"));
    for (const HostileCase& c : hostileCases()) {
        SCOPED_TRACE(c.name);
        writeBytes(path, c.bytes);
        expectPeakMemoryBelow(std::size_t{32} << 20, [&] {
            try {
                TPngImage().LoadFromFile(path);
            } catch (const ZelkoraError&) {
            }
        });
    }
}

TEST(HostileFiles, MissingFileOrFolderCannotBeOpened) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.png")));
    for (const QString& name : {QStringLiteral("absent.png"), QStringLiteral("folder.png")}) {
        const QString path = dir.filePath(name);
        TPngImage image = rasterOf(1, 1, {1, 2, 3, 4});
        try {
            image.LoadFromFile(path);
            ADD_FAILURE() << "no error for " << name.toStdString();
        } catch (const ZelkoraError& e) {
            EXPECT_TRUE(
                e.message().startsWith(QStringLiteral("Не удаётся открыть файл «%1»: ").arg(path)))
                << e.what();
        }
        EXPECT_EQ(image, rasterOf(1, 1, {1, 2, 3, 4}));
    }
}

// The name as the message shows it: an invisible character in it is written out.
TEST(HostileFiles, MessagesShowInvisibleCharactersOfTheName) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("map\u200B.png"));
    writeBytes(path, "not a png");
    try {
        TPngImage().LoadFromFile(path);
        ADD_FAILURE() << "no error";
    } catch (const ZelkoraError& e) {
        EXPECT_EQ(e.message().toStdString(),
                  QStringLiteral("Файл «%1/map\\u200B.png» не является изображением PNG")
                      .arg(dir.path())
                      .toStdString());
    }
}

// Another program rewrites the file, long and short in turns, while it is read. Before files
// were read rather than mapped, a read past the new end killed the program with SIGBUS.
TEST(HostileFiles, AFileRewrittenWhileReadGivesAnErrorOrItsPicture) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("layer.png"));
    PngFixture f;
    f.width = 256;
    f.height = 256;
    for (int i = 0; i < f.width * f.height * 4; ++i) {
        f.rows.push_back(static_cast<std::uint8_t>((i * 2654435761u) >> 13));
    }
    f.write(path);
    int failures = 0;
    whileRewritten(path, [&] {
        // Until the writer has been caught at least once: on a busy machine it may not run for a
        // while.
        for (int i = 0; i < 300 || (failures == 0 && i < 100000); ++i) {
            TPngImage image;
            try {
                image.LoadFromFile(path);
                EXPECT_EQ(image.Width(), 256);
            } catch (const ZelkoraError&) {
                ++failures;  // damaged, changed or short: any clear message will do
            }
        }
    });
    EXPECT_GT(failures, 0) << "the file never changed under the reader";
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

}  // namespace zelkora
