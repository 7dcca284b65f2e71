#include "mapimage/TPngImage.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <utility>

#include "common/FileReader.h"
#include "common/VisibleText.h"
#include "common/ZelkoraError.h"
#include "mapimage/PictureFile.h"
#include "mapimage/PngErrorText.h"
#include "mapimage/PngImageData.h"

namespace zelkora {

namespace {

QString quoted(const QString& path) {
    return QStringLiteral("«%1»").arg(visibleText(path));
}

bool sizeFits(std::int64_t width, std::int64_t height) {
    return width >= 0 && height >= 0 && width <= INT32_MAX && height <= INT32_MAX &&
           width * height <= TPngImage::kMaxPixels;
}

// libpng reports errors by longjmp. Every function that calls into libpng sets its own jump
// target and keeps no C++ object of its own alive across it.
struct PngIo {
    FileReader* file = nullptr;
    int readError = 0;  // the file's own error, when reading it failed
    PngErrorText error;
    // The file as read whole, when it was: libpng then reads from here.
    const std::uint8_t* bytes = nullptr;
    std::size_t size = 0;
    std::size_t position = 0;
};

void readFromFile(png_structp png, png_bytep dest, png_size_t length) {
    auto* io = static_cast<PngIo*>(png_get_io_ptr(png));
    if (io->bytes) {
        if (length > io->size - io->position) {
            png_error(png, "unexpected end of file");
        }
        std::memcpy(dest, io->bytes + io->position, length);
        io->position += length;
        return;
    }
    std::size_t got = 0;
    io->readError = io->file->read(reinterpret_cast<char*>(dest), length, got);
    if (io->readError != 0) {
        png_error(png, "read error");
    }
    if (got < length) {
        png_error(png, "unexpected end of file");
    }
}

struct PngHeader {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitsPerPixel = 0;  // as stored in the file
    bool hasGamma = false;
    png_fixed_point gamma = 0;
};

// Files up to this size are read whole, for the plain kind's own decoder.
constexpr std::uint64_t kWholeFileBytes = std::uint64_t{64} << 20;

// Neither side of a picture comes near this; libpng refuses a larger one in its header.
constexpr png_uint_32 kMaxSide = 1u << 20;
// The chunks kept (IHDR, PLTE, tRNS, gAMA, IDAT) are small; no other chunk is ever stored.
constexpr png_alloc_size_t kMaxChunkBytes = 1u << 20;

// Known chunks the reader has no use for, skipped unread like unknown ones: a text or profile
// chunk would otherwise be allocated at the size it claims before its data is seen.
constexpr png_byte kUnusedChunks[] = {
    'b',  'K',  'G',  'D',  '\0', 'c',  'H',  'R',  'M',  '\0', 'e',  'X',  'I',  'f',  '\0', 'h',
    'I',  'S',  'T',  '\0', 'i',  'C',  'C',  'P',  '\0', 'i',  'T',  'X',  't',  '\0', 'o',  'F',
    'F',  's',  '\0', 'p',  'C',  'A',  'L',  '\0', 'p',  'H',  'Y',  's',  '\0', 's',  'B',  'I',
    'T',  '\0', 's',  'C',  'A',  'L',  '\0', 's',  'P',  'L',  'T',  '\0', 's',  'R',  'G',  'B',
    '\0', 't',  'E',  'X',  't',  '\0', 't',  'I',  'M',  'E',  '\0', 'z',  'T',  'X',  't',  '\0'};
constexpr int kUnusedChunkCount = sizeof kUnusedChunks / 5;

// Deflate turns one stored byte into at most 1032. The pixels a file's bytes can inflate to
// bound what the file may make the reader allocate: a damaged file claiming more is refused
// before its RGBA buffer, 32 bytes per stored byte at 1 bit per pixel, exists.
constexpr std::uint64_t kMaxDeflateRatio = 1032;
constexpr std::uint64_t kInflateSlack = 4096;  // stream headers and the first literals

constexpr bool dataCanFill(std::uint64_t pixels, int bitsPerPixel, std::uint64_t fileSize) {
    const std::uint64_t inflated =
        kMaxDeflateRatio * std::min<std::uint64_t>(fileSize, std::uint64_t{1} << 40) +
        kInflateSlack;
    return bitsPerPixel > 0 && pixels <= inflated * 8 / static_cast<std::uint64_t>(bitsPerPixel);
}

class PngDecoder {
  public:
    explicit PngDecoder(PngIo& io) : io_(io) {
        png_ =
            png_create_read_struct(PNG_LIBPNG_VER_STRING, &io_.error, keepPngError, dropPngWarning);
        if (png_) {
            info_ = png_create_info_struct(png_);
        }
    }
    ~PngDecoder() { png_destroy_read_struct(&png_, &info_, nullptr); }
    PngDecoder(const PngDecoder&) = delete;
    PngDecoder& operator=(const PngDecoder&) = delete;

    bool ready() const { return png_ && info_; }

    // Reads the chunks before the image data; the signature has been read already.
    bool readHeader(PngHeader& header) {
        if (setjmp(png_jmpbuf(png_))) {
            return false;
        }
        png_set_read_fn(png_, &io_, readFromFile);
        png_set_sig_bytes(png_, 8);
        // A bad checksum in any chunk, ancillary ones included, makes the file unreadable.
        png_set_crc_action(png_, PNG_CRC_ERROR_QUIT, PNG_CRC_ERROR_QUIT);
        png_set_user_limits(png_, kMaxSide, kMaxSide);
        png_set_chunk_malloc_max(png_, kMaxChunkBytes);
        png_set_keep_unknown_chunks(png_, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
        png_set_keep_unknown_chunks(png_, PNG_HANDLE_CHUNK_NEVER, kUnusedChunks, kUnusedChunkCount);
        png_read_info(png_, info_);
        header.width = png_get_image_width(png_, info_);
        header.height = png_get_image_height(png_, info_);
        header.bitsPerPixel = png_get_channels(png_, info_) * png_get_bit_depth(png_, info_);
        header.hasGamma = png_get_gAMA_fixed(png_, info_, &header.gamma) != 0;
        return true;
    }

    // Sets up the conversion to 8-bit RGBA. libpng allocates its row buffers here, so the
    // caller checks the claimed size first.
    bool setUpRgba(png_uint_32 width) {
        if (setjmp(png_jmpbuf(png_))) {
            return false;
        }
        const int colorType = png_get_color_type(png_, info_);
        const int bitDepth = png_get_bit_depth(png_, info_);
        const bool hasTrns = png_get_valid(png_, info_, PNG_INFO_tRNS) != 0;
        if (colorType == PNG_COLOR_TYPE_PALETTE) {
            png_set_palette_to_rgb(png_);
        }
        if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) {
            png_set_expand_gray_1_2_4_to_8(png_);
        }
        if (hasTrns) {
            png_set_tRNS_to_alpha(png_);
        }
        // The upper byte of each 16-bit sample, not a rescaled value.
        if (bitDepth == 16) {
            png_set_strip_16(png_);
        }
        if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
            png_set_gray_to_rgb(png_);
        }
        if ((colorType & PNG_COLOR_MASK_ALPHA) == 0 && !hasTrns) {
            png_set_filler(png_, 0xFF, PNG_FILLER_AFTER);
        }
        png_set_interlace_handling(png_);
        png_read_update_info(png_, info_);
        if (png_get_rowbytes(png_, info_) != std::size_t{width} * TPngImage::kChannels) {
            png_error(png_, "unsupported pixel layout");
        }
        return true;
    }

    bool readRows(png_bytepp rows) {
        if (setjmp(png_jmpbuf(png_))) {
            return false;
        }
        png_read_image(png_, rows);
        png_read_end(png_, nullptr);
        return true;
    }

  private:
    PngIo& io_;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

// s -> round(255 * (s / 255) ^ (1 / (g * 2.2))) with g the file's gamma.
std::array<std::uint8_t, 256> gammaTable(png_fixed_point gamma) {
    const double exponent = 1.0 / (static_cast<double>(gamma) / 100000.0 * 2.2);
    std::array<std::uint8_t, 256> table{};
    for (int s = 0; s < 256; ++s) {
        const double v = std::round(255.0 * std::pow(s / 255.0, exponent));
        table[static_cast<std::size_t>(s)] = static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
    }
    return table;
}

void applyGamma(TPngImage::Pixels& pixels, png_fixed_point gamma) {
    const std::array<std::uint8_t, 256> table = gammaTable(gamma);
    bool identity = true;
    for (int s = 0; s < 256 && identity; ++s) {
        identity = table[static_cast<std::size_t>(s)] == s;
    }
    if (identity) {
        return;
    }
    for (std::size_t i = 0; i < pixels.size(); i += TPngImage::kChannels) {
        pixels[i] = table[pixels[i]];
        pixels[i + 1] = table[pixels[i + 1]];
        pixels[i + 2] = table[pixels[i + 2]];
    }
}

}  // namespace

TPngImage TPngImage::CreateBlank(int width, int height) {
    if (!sizeFits(width, height)) {
        throw ZelkoraError(QStringLiteral("Недопустимый размер изображения: %1 × %2 точек")
                               .arg(width)
                               .arg(height));
    }
    TPngImage image;
    image.width_ = width;
    image.height_ = height;
    image.data_.assign(
        static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * kChannels, 0);
    return image;
}

void TPngImage::LoadFromFile(const QString& path) {
    // Read as libpng asks for it, so a large file that is no PNG costs nothing.
    FileReader file(path);
    const auto cannotOpen = [&](int error) {
        return ZelkoraError(QStringLiteral("Не удаётся открыть файл %1: %2")
                                .arg(quoted(path), QString::fromLocal8Bit(std::strerror(error))));
    };
    const auto readFailed = [&](int error) {
        if (error == FileReader::kChanged) {
            return ZelkoraError(FileReader::changedMessage(path));
        }
        return ZelkoraError(QStringLiteral("Не удаётся прочитать файл %1: %2")
                                .arg(quoted(path), QString::fromLocal8Bit(std::strerror(error))));
    };
    if (const int error = file.open()) {
        throw cannotOpen(error);
    }

    constexpr std::size_t kSignatureSize = 8;
    std::array<png_byte, kSignatureSize> signature{};
    std::size_t got = 0;
    if (const int error =
            file.read(reinterpret_cast<char*>(signature.data()), kSignatureSize, got)) {
        throw readFailed(error);
    }
    if (got < kSignatureSize || png_sig_cmp(signature.data(), 0, kSignatureSize) != 0) {
        throw ZelkoraError(
            QStringLiteral("Файл %1 не является изображением PNG").arg(quoted(path)));
    }

    // A file of the plain kind that fits in memory is read whole and decoded without libpng
    // (PngImageData), many times faster; any other goes to libpng, from memory when it was read.
    std::vector<std::uint8_t> whole;
    if (file.size() <= kWholeFileBytes) {
        whole.resize(static_cast<std::size_t>(file.size()));
        std::memcpy(whole.data(), signature.data(), std::min(whole.size(), kSignatureSize));
        std::size_t rest = 0;
        if (whole.size() > kSignatureSize) {
            if (const int error = file.read(reinterpret_cast<char*>(whole.data()) + kSignatureSize,
                                            whole.size() - kSignatureSize, rest)) {
                throw readFailed(error);
            }
        }
        whole.resize(std::min(whole.size(), kSignatureSize + rest));
        PngImageData plain;
        if (plain.decode({reinterpret_cast<const char*>(whole.data()), whole.size()})) {
            width_ = plain.width();
            height_ = plain.height();
            data_ = plain.takePixels();
            return;
        }
    }

    PngIo io;
    io.file = &file;
    if (!whole.empty()) {
        io.bytes = whole.data();
        io.size = whole.size();
        io.position = kSignatureSize;
    }
    PngDecoder decoder(io);
    if (!decoder.ready()) {
        throw ZelkoraError(
            QStringLiteral("Не хватает памяти для чтения файла %1").arg(quoted(path)));
    }
    const auto damaged = [&] {
        if (io.readError != 0) {
            return readFailed(io.readError);
        }
        return ZelkoraError(QStringLiteral("Файл PNG %1 повреждён: %2")
                                .arg(quoted(path), QString::fromUtf8(io.error.message)));
    };
    PngHeader header;
    if (!decoder.readHeader(header)) {
        throw damaged();
    }
    if (!sizeFits(header.width, header.height)) {
        throw ZelkoraError(QStringLiteral("Изображение %1 слишком велико: %2 × %3 точек")
                               .arg(quoted(path))
                               .arg(header.width)
                               .arg(header.height));
    }
    if (!dataCanFill(std::uint64_t{header.width} * header.height, header.bitsPerPixel,
                     file.size())) {
        throw ZelkoraError(QStringLiteral("Файл PNG %1 повреждён: данных слишком мало для "
                                          "размера %2 × %3 точек")
                               .arg(quoted(path))
                               .arg(header.width)
                               .arg(header.height));
    }
    if (!decoder.setUpRgba(header.width)) {
        throw damaged();
    }

    const auto width = static_cast<int>(header.width);
    const auto height = static_cast<int>(header.height);
    Pixels pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * kChannels);
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        rows[static_cast<std::size_t>(y)] =
            pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 4;
    }
    if (!decoder.readRows(rows.data())) {
        throw damaged();
    }
    if (header.hasGamma && header.gamma > 0) {
        applyGamma(pixels, header.gamma);
    }

    width_ = width;
    height_ = height;
    data_ = std::move(pixels);
}

void TPngImage::SaveToFile(const QString& path) const {
    SaveToFile(path, PngWriter::Settings{});
}

void TPngImage::SaveToFile(const QString& path, const PngWriter::Settings& settings) const {
    if (isEmpty()) {
        throw ZelkoraError(
            QStringLiteral("Пустое изображение нельзя сохранить в файл %1").arg(quoted(path)));
    }
    PngWriter::Settings rgba = settings;
    rgba.colour = PngWriter::Colour::Rgba;
    const auto rowBytes = static_cast<std::size_t>(width_) * kChannels;
    savePictureFile(path, [&](std::FILE* file, QString& error) {
        return PngWriter(rgba).write(
            file, width_, height_,
            [&](int y, std::uint8_t* out) { std::memcpy(out, row(y), rowBytes); }, error);
    });
}

std::uint8_t* TPngImage::Scanline(int y) {
    return const_cast<std::uint8_t*>(std::as_const(*this).Scanline(y));
}

const std::uint8_t* TPngImage::Scanline(int y) const {
    if (isEmpty()) {
        throw ZelkoraError("Изображение пустое: у него нет строк");
    }
    if (y < 0 || y >= height_) {
        throw ZelkoraError(
            QStringLiteral("Строка %1 вне изображения высотой %2").arg(y).arg(height_));
    }
    return row(y);
}

QImage TPngImage::toQImage() const {
    if (isEmpty()) {
        return {};
    }
    QImage image(width_, height_, QImage::Format_RGBA8888);
    const auto rowBytes = static_cast<std::size_t>(width_) * kChannels;
    for (int y = 0; y < height_; ++y) {
        std::memcpy(image.scanLine(y), row(y), rowBytes);
    }
    return image;
}

TPngImage TPngImage::fromQImage(const QImage& image) {
    if (image.isNull()) {
        return {};
    }
    if (!sizeFits(image.width(), image.height())) {
        throw ZelkoraError(QStringLiteral("Недопустимый размер изображения: %1 × %2 точек")
                               .arg(image.width())
                               .arg(image.height()));
    }
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    TPngImage result = CreateBlank(rgba.width(), rgba.height());
    const auto rowBytes = static_cast<std::size_t>(result.width_) * kChannels;
    for (int y = 0; y < result.height_; ++y) {
        std::memcpy(result.row(y), rgba.constScanLine(y), rowBytes);
    }
    return result;
}

}  // namespace zelkora
