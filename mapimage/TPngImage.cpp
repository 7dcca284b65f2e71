#include "mapimage/TPngImage.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <utility>

#include "common/MappedFile.h"
#include "common/ZelkoraError.h"
#include "mapimage/PictureFile.h"
#include "mapimage/PngErrorText.h"

namespace {

QString quoted(const QString& path) {
    return QStringLiteral("«%1»").arg(path);
}

bool sizeFits(std::int64_t width, std::int64_t height) {
    return width >= 0 && height >= 0 && width <= INT32_MAX && height <= INT32_MAX &&
           width * height <= TPngImage::kMaxPixels;
}

// libpng reports errors by longjmp. Every function that calls into libpng sets its own jump
// target and keeps no C++ object of its own alive across it.
struct PngIo {
    const std::uint8_t* in = nullptr;
    std::size_t inSize = 0;
    std::size_t inPos = 0;
    PngErrorText error;
};

void readFromMemory(png_structp png, png_bytep dest, png_size_t length) {
    auto* io = static_cast<PngIo*>(png_get_io_ptr(png));
    if (length > io->inSize - io->inPos) {
        png_error(png, "unexpected end of file");
    }
    std::memcpy(dest, io->in + io->inPos, length);
    io->inPos += length;
}

struct PngHeader {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    bool hasGamma = false;
    png_fixed_point gamma = 0;
    std::uint64_t storedBytes = 0;  // the filtered image data as stored, before inflating
};

// Deflate shrinks data by at most about 1032:1. A file whose image data cannot fit in it is
// damaged, and is refused before its claimed size is allocated.
constexpr std::uint64_t kMaxDeflateRatio = 1032;

constexpr bool dataCanFit(std::uint64_t storedBytes, std::uint64_t fileSize) {
    return storedBytes <= 2 * kMaxDeflateRatio * fileSize + 4096;
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

    // Reads the chunks before the image data and sets up the conversion to 8-bit RGBA.
    bool readHeader(PngHeader& header) {
        if (setjmp(png_jmpbuf(png_))) {
            return false;
        }
        png_set_read_fn(png_, &io_, readFromMemory);
        // A bad checksum in any chunk, ancillary ones included, makes the file unreadable.
        png_set_crc_action(png_, PNG_CRC_ERROR_QUIT, PNG_CRC_ERROR_QUIT);
        png_read_info(png_, info_);
        header.width = png_get_image_width(png_, info_);
        header.height = png_get_image_height(png_, info_);
        header.hasGamma = png_get_gAMA_fixed(png_, info_, &header.gamma) != 0;
        // One filter byte per row; interlaced files have a few more rows, well within the slack.
        header.storedBytes = std::uint64_t{header.height} * (png_get_rowbytes(png_, info_) + 1);

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
        if (png_get_rowbytes(png_, info_) != std::size_t{header.width} * TPngImage::kChannels) {
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

void applyGamma(std::vector<std::uint8_t>& pixels, png_fixed_point gamma) {
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
    // Mapped rather than read, so a large file that is no PNG costs nothing.
    MappedFile file(path);
    if (const int error = file.open()) {
        throw ZelkoraError(QStringLiteral("Не удаётся открыть файл %1: %2")
                               .arg(quoted(path), QString::fromLocal8Bit(std::strerror(error))));
    }
    const auto* raw = reinterpret_cast<const std::uint8_t*>(file.bytes().data());
    const std::size_t size = file.bytes().size();

    constexpr std::size_t kSignatureSize = 8;
    if (size < kSignatureSize || png_sig_cmp(raw, 0, kSignatureSize) != 0) {
        throw ZelkoraError(
            QStringLiteral("Файл %1 не является изображением PNG").arg(quoted(path)));
    }

    PngIo io;
    io.in = raw;
    io.inSize = size;
    PngDecoder decoder(io);
    if (!decoder.ready()) {
        throw ZelkoraError(
            QStringLiteral("Не хватает памяти для чтения файла %1").arg(quoted(path)));
    }
    const auto damaged = [&] {
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
    if (!dataCanFit(header.storedBytes, size)) {
        throw ZelkoraError(QStringLiteral("Файл PNG %1 повреждён: данных слишком мало для "
                                          "размера %2 × %3 точек")
                               .arg(quoted(path))
                               .arg(header.width)
                               .arg(header.height));
    }

    const auto width = static_cast<int>(header.width);
    const auto height = static_cast<int>(header.height);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) *
                                     static_cast<std::size_t>(height) * kChannels);
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
