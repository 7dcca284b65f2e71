#include <gtest/gtest.h>
#include <zlib.h>

#include <QTemporaryDir>
#include <functional>
#include <set>

#include "mapimage/DataPaths.h"
#include "mapimage/PngImageData.h"
#include "mapimage/TPngImage.h"
#include "tests/mapimage/PngFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestImages.h"
#include "tests/support/TestPng.h"

namespace zelkora {

namespace {

std::string_view bytesOf(const QByteArray& file) {
    return {file.constData(), static_cast<std::size_t>(file.size())};
}

// What libpng makes of the file.
TPngImage readByLibpng(const QString& path) {
    TPngImage image;
    image.LoadFromFile(path);
    return image;
}

TPngImage readFast(const QByteArray& file) {
    PngImageData data;
    EXPECT_TRUE(data.decode(bytesOf(file)));
    TPngImage image = TPngImage::CreateBlank(data.width(), data.height());
    const TPngImage::Pixels pixels = data.takePixels();
    std::copy(pixels.begin(), pixels.end(), image.bits());
    return image;
}

QByteArray fileOf(const std::vector<PngChunk>& chunks) {
    QByteArray file("\x89PNG\r\n\x1a\n", 8);
    for (const PngChunk& chunk : chunks) {
        QByteArray body = QByteArray::fromStdString(chunk.type);
        body.append(reinterpret_cast<const char*>(chunk.data.data()),
                    static_cast<qsizetype>(chunk.data.size()));
        const auto put32 = [&](std::uint32_t v) {
            for (int shift = 24; shift >= 0; shift -= 8) {
                file.append(static_cast<char>(v >> shift));
            }
        };
        put32(static_cast<std::uint32_t>(chunk.data.size()));
        file.append(body);
        put32(static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.constData()),
                                               static_cast<uInt>(body.size()))));
    }
    return file;
}

// The filter bytes of every row, from the inflated image data.
std::set<int> filtersOf(const QByteArray& file, int width, int height) {
    std::vector<std::uint8_t> stream;
    for (const PngChunk& chunk : pngChunks(file)) {
        if (chunk.type == "IDAT") {
            stream.insert(stream.end(), chunk.data.begin(), chunk.data.end());
        }
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4 + 1;
    std::vector<std::uint8_t> raw(rowBytes * static_cast<std::size_t>(height));
    uLongf size = raw.size();
    EXPECT_EQ(uncompress(raw.data(), &size, stream.data(), stream.size()), Z_OK);
    std::set<int> filters;
    for (int y = 0; y < height; ++y) {
        filters.insert(raw[static_cast<std::size_t>(y) * rowBytes]);
    }
    return filters;
}

// A PNG whose every row is filtered with filter, written here byte by byte from the PNG rules.
QByteArray pngFilteredWith(const TPngImage& picture, int filter) {
    const std::size_t bytes = static_cast<std::size_t>(picture.Width()) * 4;
    std::vector<std::uint8_t> raw;
    const std::vector<std::uint8_t> zeros(bytes, 0);
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint8_t* row = picture.row(y);
        const std::uint8_t* up = y > 0 ? picture.row(y - 1) : zeros.data();
        raw.push_back(static_cast<std::uint8_t>(filter));
        for (std::size_t i = 0; i < bytes; ++i) {
            const int a = i >= 4 ? row[i - 4] : 0;
            const int b = up[i];
            const int c = i >= 4 ? up[i - 4] : 0;
            const int p = a + b - c;
            const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
            const int predictor[] = {0, a, b, (a + b) / 2,
                                     pa <= pb && pa <= pc ? a
                                     : pb <= pc           ? b
                                                          : c};
            raw.push_back(static_cast<std::uint8_t>(row[i] - predictor[filter]));
        }
    }
    std::vector<std::uint8_t> stream(compressBound(static_cast<uLong>(raw.size())));
    uLongf size = stream.size();
    EXPECT_EQ(compress(stream.data(), &size, raw.data(), static_cast<uLong>(raw.size())), Z_OK);
    stream.resize(size);
    std::vector<std::uint8_t> header(13, 0);
    for (int shift = 0; shift < 4; ++shift) {
        header[static_cast<std::size_t>(3 - shift)] =
            static_cast<std::uint8_t>(picture.Width() >> (8 * shift));
        header[static_cast<std::size_t>(7 - shift)] =
            static_cast<std::uint8_t>(picture.Height() >> (8 * shift));
    }
    header[8] = 8;
    header[9] = 6;
    return fileOf({{"IHDR", header}, {"IDAT", stream}, {"IEND", {}}});
}

// Flat colour, clear areas and a few specks, as on maps: the blocks that the filters may
// pass over whole, and the pixels that end them.
TPngImage mapLike(int width, int height) {
    TPngImage picture = filled(width, height, {200, 210, 190, 255});
    const TPngImage specks = noise(width, height, 11);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (y % 5 == 1 && x > width / 2) {
                setPixel(picture, x, y, {0, 0, 0, 0});
            } else if ((x * 7 + y * 3) % 23 == 0) {
                setPixel(picture, x, y, pixelAt(specks, x, y));
            }
        }
    }
    return picture;
}

class PngImageDataTest : public testing::Test {
  protected:
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    QTemporaryDir dir;
};

// Adaptive filtering of noise uses all five filters; odd widths leave pixels past the blocks
// of four.
TEST_F(PngImageDataTest, DecodesAsLibpngDoes) {
    std::set<int> filtersSeen;
    for (const QSize size :
         {QSize(1, 1), QSize(3, 5), QSize(97, 61), QSize(301, 40), QSize(4, 9)}) {
        for (const auto filter : {PngWriter::RowFilter::Adaptive, PngWriter::RowFilter::Sub}) {
            const TPngImage picture = noise(size.width(), size.height(), 7);
            PngWriter::Settings settings;
            settings.filter = filter;
            picture.SaveToFile(path("p.png"), settings);
            const QByteArray file = readBytes(path("p.png"));
            const std::set<int> filters = filtersOf(file, size.width(), size.height());
            filtersSeen.insert(filters.begin(), filters.end());

            EXPECT_EQ(readFast(file), readByLibpng(path("p.png")))
                << size.width() << "x" << size.height();
        }
    }
    EXPECT_EQ(filtersSeen, (std::set<int>{0, 1, 2, 3, 4}));
}

TEST_F(PngImageDataTest, UndoesEachFilter) {
    for (int filter = 0; filter <= 4; ++filter) {
        for (const QSize size :
             {QSize(1, 3), QSize(4, 4), QSize(5, 6), QSize(9, 9), QSize(33, 12), QSize(100, 20)}) {
            for (const TPngImage& picture :
                 {mapLike(size.width(), size.height()), noise(size.width(), size.height(), 2)}) {
                EXPECT_EQ(readFast(pngFilteredWith(picture, filter)), picture)
                    << "filter " << filter << ", " << size.width() << "x" << size.height();
            }
        }
    }
}

TEST_F(PngImageDataTest, DecodesTheShippedMapsAsLibpngDoes) {
    const QString data = QStringLiteral(ZELKORA_DATA_DIR);
    const QString map = QStringLiteral("Дальний Восток");
    for (const QString& file :
         {baseImagePath(data, map, true), layerImagePath(data, map, true, kLayerCaptions[4])}) {
        EXPECT_EQ(readFast(readBytes(file)), readByLibpng(file)) << file.toStdString();
    }
}

// Everything but the plain kind goes to libpng, which converts or says what is wrong.
TEST_F(PngImageDataTest, LeavesEveryOtherFileToLibpng) {
    noise(20, 10, 3).SaveToFile(path("good.png"));
    const QByteArray good = readBytes(path("good.png"));
    const std::vector<PngChunk> chunks = pngChunks(good);
    const auto edited = [&](const std::function<void(std::vector<PngChunk>&)>& edit) {
        std::vector<PngChunk> copy = chunks;
        edit(copy);
        return fileOf(copy);
    };
    const auto fixture = [&](const PngFixture& f) {
        f.write(path("f.png"));
        return readBytes(path("f.png"));
    };
    const auto idat = [](std::vector<PngChunk>& c) -> PngChunk& {
        return *std::find_if(c.begin(), c.end(),
                             [](const PngChunk& k) { return k.type == "IDAT"; });
    };
    const std::vector<std::uint8_t> rgb(3 * 4, 9);
    const std::vector<std::uint8_t> rgba(4 * 4, 9);
    const struct {
        const char* name;
        QByteArray file;
    } cases[] = {
        {"not a PNG", QByteArray("GIF89a")},
        {"empty", QByteArray()},
        {"colour without alpha", fixture({2, 2, 2, 8, false, 0, {}, {}, rgb})},
        {"palette", fixture({2, 2, 3, 8, false, 0, {1, 2, 3}, {}, {0, 0, 0, 0}})},
        {"16 bits", fixture({1, 2, 6, 16, false, 0, {}, {}, rgba})},
        {"interlaced", fixture({2, 2, 6, 8, true, 0, {}, {}, rgba})},
        {"gamma", fixture({2, 2, 6, 8, false, 45455, {}, {}, rgba})},
        {"bad checksum",
         [&] {
             QByteArray f = good;
             f[f.size() - 20] = static_cast<char>(f[f.size() - 20] ^ 1);
             return f;
         }()},
        {"no end", good.left(good.size() - 12)},
        {"cut short", good.left(good.size() - 30)},
        {"data after the stream",
         edited([&](std::vector<PngChunk>& c) { idat(c).data.push_back(0); })},
        {"data cut",
         edited([&](std::vector<PngChunk>& c) { idat(c).data.resize(idat(c).data.size() / 2); })},
        {"image data split by another chunk", edited([&](std::vector<PngChunk>& c) {
             PngChunk& d = idat(c);
             PngChunk rest{"IDAT", {d.data.begin() + 5, d.data.end()}};
             d.data.resize(5);
             auto at = std::find_if(c.begin(), c.end(),
                                    [](const PngChunk& k) { return k.type == "IDAT"; });
             at = c.insert(at + 1, PngChunk{"tEXt", {'a', 0, 'b'}});
             c.insert(at + 1, rest);
         })},
        {"unknown critical chunk", edited([&](std::vector<PngChunk>& c) {
             c.insert(c.begin() + 1, PngChunk{"ABCD", {}});
         })},
        {"transparency chunk", edited([&](std::vector<PngChunk>& c) {
             c.insert(c.begin() + 1, PngChunk{"tRNS", {0, 0}});
         })},
        {"no image data", edited([&](std::vector<PngChunk>& c) {
             c.erase(std::find_if(c.begin(), c.end(),
                                  [](const PngChunk& k) { return k.type == "IDAT"; }));
         })},
        {"huge claimed size", edited([&](std::vector<PngChunk>& c) {
             c.front().data[0] = 0;
             c.front().data[1] = 0x10;  // 1048576 wide, 10 high: more than the data can fill
         })},
    };
    for (const auto& c : cases) {
        PngImageData data;
        EXPECT_FALSE(data.decode(bytesOf(c.file))) << c.name;
    }
    // An ancillary chunk of no consequence is skipped, as libpng skips it.
    const QByteArray withText = edited([&](std::vector<PngChunk>& c) {
        c.insert(c.begin() + 1, PngChunk{"tEXt", {'k', 0, 'v'}});
    });
    EXPECT_EQ(readFast(withText), noise(20, 10, 3));
}

}  // namespace

}  // namespace zelkora
