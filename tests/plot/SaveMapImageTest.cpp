#include <gtest/gtest.h>
#include <jpeglib.h>
#include <zlib.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <string>
#include <vector>

#include "common/ZelkoraError.h"
#include "plot/ImageEncoders.h"
#include "plot/SaveMapImage.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestImages.h"
#include "tests/support/TestPng.h"

namespace zelkora {

namespace {

TEST(SampleOnWhite, Examples) {
    struct Case {
        int s, a, expected;
    };
    const Case cases[] = {{0, 0, 255},   {123, 0, 255}, {0, 128, 127}, {100, 128, 177}, {0, 255, 0},
                          {77, 255, 77}, {255, 1, 255}, {0, 1, 254},   {200, 64, 241}};
    for (const Case& c : cases) {
        EXPECT_EQ(sampleOnWhite(c.s, c.a), c.expected) << c.s << " at alpha " << c.a;
    }
}

// Every sample at every alpha, in a row long enough for whole blocks and a tail.
TEST(RowOnWhite, AgreesWithSampleOnWhiteForEveryInput) {
    constexpr int kWidth = 256 * 256 + 3;
    std::vector<std::uint8_t> rgba(4 * kWidth);
    for (int i = 0; i < kWidth; ++i) {
        rgba[4 * i] = static_cast<std::uint8_t>(i);
        rgba[4 * i + 1] = static_cast<std::uint8_t>(255 - i);
        rgba[4 * i + 2] = static_cast<std::uint8_t>(i >> 4);
        rgba[4 * i + 3] = static_cast<std::uint8_t>(i >> 8);
    }
    std::vector<std::uint8_t> rgb(3 * kWidth + 1, 7);
    rowOnWhite(rgba.data(), kWidth, rgb.data());
    int mismatches = 0;
    for (int i = 0; i < kWidth; ++i) {
        for (int s = 0; s < 3; ++s) {
            mismatches += rgb[3 * i + s] != sampleOnWhite(rgba[4 * i + s], rgba[4 * i + 3]);
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(rgb.back(), 7) << "written past the row";
}

// The --format names of zelkora-cli and the extensions of file names are the same words.
TEST(ExportFormat, KnowsTheThreeTypesByNameAndByExtension) {
    struct Case {
        const char* name;
        std::optional<ExportFormat> format;
    };
    const Case cases[] = {{"jpg", ExportFormat::Jpeg}, {"JPEG", ExportFormat::Jpeg},
                          {"Png", ExportFormat::Png},  {"bmp", ExportFormat::Bmp},
                          {"gif", std::nullopt},       {"", std::nullopt}};
    for (const Case& c : cases) {
        EXPECT_EQ(exportFormatFromName(c.name), c.format) << c.name;
        EXPECT_EQ(exportFormatFromExtension(QStringLiteral("/a.b/map.") + c.name), c.format)
            << c.name;
    }
    EXPECT_EQ(exportFormatFromExtension("map"), std::nullopt);
    EXPECT_EQ(exportFormatFromExtension("png"), std::nullopt);
}

// Noise in every sample and alpha, so the PNG needs several IDAT chunks and every alpha case of
// the blend onto white occurs. Width 301 leaves BMP rows with padding.
TPngImage noisePicture() {
    TPngImage picture = noise(301, 200, 42);
    setPixel(picture, 0, 0, {10, 20, 30, 0});
    setPixel(picture, 1, 0, {10, 20, 30, 255});
    return picture;
}

std::array<std::uint8_t, 3> onWhite(const TPngImage& picture, int x, int y) {
    const Rgba p = pixelAt(picture, x, y);
    return {sampleOnWhite(p[0], p[3]), sampleOnWhite(p[1], p[3]), sampleOnWhite(p[2], p[3])};
}

std::vector<std::uint8_t> readAll(const QString& path) {
    const QByteArray bytes = readBytes(path);
    return {bytes.begin(), bytes.end()};
}

std::uint32_t le32(const std::uint8_t* p) {
    return std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
}

std::uint16_t le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[1] << 8 | p[0]);
}

class Export : public testing::Test {
  protected:
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    QTemporaryDir dir;
    const TPngImage picture = noisePicture();
};

TEST_F(Export, PngHasOnlyHeaderDataAndEndWithSubFilteredRgbRows) {
    const QString file = path("map.png");
    SaveMapImage(picture, file, ExportFormat::Png);
    const std::vector<PngChunk> all = pngChunks(readBytes(file));

    std::vector<std::string> chunks;
    std::vector<std::uint8_t> idat;
    const std::uint8_t* ihdr = nullptr;
    for (const PngChunk& chunk : all) {
        if (chunk.type == "IHDR") {
            ihdr = chunk.data.data();
        } else if (chunk.type == "IDAT") {
            EXPECT_LE(chunk.data.size(), 65535u);
            idat.insert(idat.end(), chunk.data.begin(), chunk.data.end());
        }
        if (chunks.empty() || chunks.back() != chunk.type) {
            chunks.push_back(chunk.type);
        }
    }
    EXPECT_EQ(chunks, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    ASSERT_NE(ihdr, nullptr);
    EXPECT_EQ(bigEndian32(ihdr), 301u);
    EXPECT_EQ(bigEndian32(ihdr + 4), 200u);
    EXPECT_EQ(ihdr[8], 8);           // bit depth
    EXPECT_EQ(ihdr[9], 2);           // RGB, no alpha
    EXPECT_EQ(ihdr[12], 0);          // not interlaced
    EXPECT_GT(idat.size(), 65535u);  // noise does not compress: several IDATs
    ASSERT_GE(idat.size(), 2u);
    EXPECT_EQ(idat[1] >> 6, 3);  // zlib's level flag for levels 7 to 9

    const std::size_t stride = 1 + 3 * 301;
    std::vector<std::uint8_t> raw(stride * 200 + 1);
    uLongf rawSize = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &rawSize, idat.data(), idat.size()), Z_OK);
    ASSERT_EQ(rawSize, stride * 200);
    for (int y = 0; y < 200; ++y) {
        std::uint8_t* row = &raw[y * stride];
        ASSERT_EQ(row[0], 1) << "filter of row " << y;
        for (std::size_t i = 4; i < stride; ++i) {  // undo Sub: add the sample to the left
            row[i] = static_cast<std::uint8_t>(row[i] + row[i - 3]);
        }
        for (int x = 0; x < 301; ++x) {
            const auto expected = onWhite(picture, x, y);
            ASSERT_TRUE(std::equal(expected.begin(), expected.end(), row + 1 + 3 * x))
                << x << ", " << y;
        }
    }
    EXPECT_EQ(raw[1], 255);  // alpha 0 comes out white
    EXPECT_EQ(raw[4], 10);   // opaque keeps its colour
}

TEST_F(Export, BmpIsBottomUp24BitWithPaddedRows) {
    const QString file = path("map.bmp");
    SaveMapImage(picture, file, ExportFormat::Bmp);
    const std::vector<std::uint8_t> b = readAll(file);
    const std::uint32_t stride = (301 * 3 + 3) & ~3u;
    ASSERT_EQ(b.size(), 54 + stride * 200);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(le32(&b[2]), b.size());
    EXPECT_EQ(le32(&b[10]), 54u);
    EXPECT_EQ(le32(&b[14]), 40u);
    EXPECT_EQ(le32(&b[18]), 301u);
    EXPECT_EQ(le32(&b[22]), 200u);  // positive height: bottom-up
    EXPECT_EQ(le16(&b[26]), 1);
    EXPECT_EQ(le16(&b[28]), 24);
    EXPECT_EQ(le32(&b[30]), 0u);
    EXPECT_EQ(le32(&b[34]), stride * 200);
    for (int y = 0; y < 200; ++y) {
        const std::uint8_t* row = &b[54 + (199 - y) * stride];
        for (int x = 0; x < 301; ++x) {
            const auto rgb = onWhite(picture, x, y);
            ASSERT_EQ(row[3 * x], rgb[2]) << x << ", " << y;
            ASSERT_EQ(row[3 * x + 1], rgb[1]) << x << ", " << y;
            ASSERT_EQ(row[3 * x + 2], rgb[0]) << x << ", " << y;
        }
        EXPECT_EQ(row[903], 0);
    }
}

struct DecodedJpeg {
    int width = 0, height = 0, components = 0;
    bool jfif = false, progressive = false;
    J_COLOR_SPACE colourSpace = JCS_UNKNOWN;
    int firstLumaQuantizer = 0;
    std::vector<std::uint8_t> rgb;
};

DecodedJpeg decodeJpeg(const std::vector<std::uint8_t>& bytes) {
    DecodedJpeg out;
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), bytes.size());
    jpeg_read_header(&cinfo, TRUE);
    out.jfif = cinfo.saw_JFIF_marker;
    out.progressive = cinfo.progressive_mode;
    out.colourSpace = cinfo.jpeg_color_space;
    out.firstLumaQuantizer = cinfo.quant_tbl_ptrs[0] ? cinfo.quant_tbl_ptrs[0]->quantval[0] : 0;
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    out.width = static_cast<int>(cinfo.output_width);
    out.height = static_cast<int>(cinfo.output_height);
    out.components = cinfo.output_components;
    out.rgb.resize(static_cast<std::size_t>(out.width) * out.height * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = &out.rgb[cinfo.output_scanline * out.width * 3];
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return out;
}

// The format follows the chosen type: JPEG data lands in "map.png".
TEST_F(Export, JpegIsBaselineJfifColourAtQualityTen) {
    TPngImage flat = filled(100, 60, {0, 0, 255, 128});  // (127, 127, 255) on white
    const QString file = path("map.png");
    SaveMapImage(flat, file, ExportFormat::Jpeg);
    const std::vector<std::uint8_t> bytes = readAll(file);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xD8);
    bool baselineFrame = false;
    for (std::size_t i = 2; i + 1 < bytes.size() && bytes[i] == 0xFF;) {
        const std::uint8_t marker = bytes[i + 1];
        baselineFrame |= marker == 0xC0;
        if (marker == 0xDA) {
            break;
        }
        i += 2 + (bytes[i + 2] << 8 | bytes[i + 3]);
    }
    EXPECT_TRUE(baselineFrame);

    const DecodedJpeg jpeg = decodeJpeg(bytes);
    EXPECT_EQ(jpeg.width, 100);
    EXPECT_EQ(jpeg.height, 60);
    EXPECT_EQ(jpeg.components, 3);
    EXPECT_TRUE(jpeg.jfif);
    EXPECT_FALSE(jpeg.progressive);
    EXPECT_EQ(jpeg.colourSpace, JCS_YCbCr);
    EXPECT_EQ(jpeg.firstLumaQuantizer, 80);  // 16 scaled by 5000 / 10 percent
    for (const int at : {0, 3 * (30 * 100 + 50)}) {
        EXPECT_NEAR(jpeg.rgb[at], 127, 8);
        EXPECT_NEAR(jpeg.rgb[at + 1], 127, 8);
        EXPECT_NEAR(jpeg.rgb[at + 2], 255, 8);
    }
}

TEST_F(Export, ReplacesAnExistingFileAndLeavesNothingElse) {
    const QString file = path("map.bmp");
    writeBytes(file, "old contents");
    SaveMapImage(filled(3, 2, {1, 2, 3, 255}), file, ExportFormat::Bmp);
    EXPECT_EQ(readAll(file).size(), 54u + 12 * 2);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("map.bmp")});
}

TEST_F(Export, ThroughALinkTheLinkedFileIsReplaced) {
    const QString real = path("real.bmp");
    const QString link = path("link.bmp");
    QFile(real).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QFile::link(real, link));
    SaveMapImage(filled(3, 2, {1, 2, 3, 255}), link, ExportFormat::Bmp);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readAll(real).size(), 54u + 12 * 2);
}

TEST_F(Export, FileThatCannotBeCreatedFailsWithTheSystemsReason) {
    struct Case {
        QString file;
        const char* reason;
    };
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    const Case cases[] = {{path("missing/map.png"), "No such file or directory"},
                          {path("folder"), "Is a directory"}};
    for (const Case& c : cases) {
        try {
            SaveMapImage(picture, c.file, ExportFormat::Png);
            ADD_FAILURE() << "no error for " << c.file.toStdString();
        } catch (const ZelkoraError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Cannot create file \"%1\". %2")
                                       .arg(c.file, QString::fromUtf8(c.reason)));
        }
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("folder")});
}

// Run as a user for whom permissions hold, since root writes anywhere.
TEST_F(Export, ReadOnlyPlacesAreRefusedAndKeepTheOldFile) {
    asUnprivilegedUser([&](const QString& dir) {
        const QString locked = dir + QStringLiteral("/locked.jpg");
        writeBytes(locked, "old");
        ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::ReadOwner));
        try {
            SaveMapImage(picture, locked, ExportFormat::Jpeg);
            ADD_FAILURE() << "no error for a read-only file";
        } catch (const ZelkoraError& e) {
            EXPECT_EQ(e.message(),
                      QStringLiteral("Cannot create file \"%1\". Permission denied").arg(locked));
        }
        EXPECT_EQ(readBytes(locked), "old");

        const QString sealed = dir + QStringLiteral("/sealed");
        ASSERT_TRUE(QDir().mkdir(sealed));
        ASSERT_TRUE(QFile::setPermissions(sealed, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        try {
            SaveMapImage(picture, sealed + "/map.png", ExportFormat::Png);
            ADD_FAILURE() << "no error for a read-only folder";
        } catch (const ZelkoraError& e) {
            EXPECT_TRUE(e.message().endsWith(QStringLiteral("Permission denied")))
                << e.message().toStdString();
        }
        EXPECT_EQ(QDir(sealed).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList());
        QFile::setPermissions(
            sealed, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    });
}

TEST_F(Export, AFailedWriteKeepsTheOldFileInEveryFormat) {
    for (const ExportFormat format : {ExportFormat::Jpeg, ExportFormat::Png, ExportFormat::Bmp}) {
        SCOPED_TRACE(static_cast<int>(format));
        const QString file = path("map.out");
        writeBytes(file, "old");
        QString error;
        withFileSizeLimit(100, [&] {
            try {
                SaveMapImage(picture, file, format);
            } catch (const ZelkoraError& e) {
                error = e.message();
            }
        });
        EXPECT_EQ(error,
                  QStringLiteral("Не удалось записать файл \"%1\". File too large").arg(file));
        EXPECT_EQ(readBytes(file), "old");
        EXPECT_EQ(
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{QStringLiteral("map.out")});
    }
}

TEST_F(Export, NoPictureIsRefusedAndWritesNothing) {
    const QString file = path("map.jpg");
    EXPECT_THROW(SaveMapImage(TPngImage(), file, ExportFormat::Jpeg), ZelkoraError);
    EXPECT_FALSE(QFile::exists(file));
}

}  // namespace

}  // namespace zelkora
