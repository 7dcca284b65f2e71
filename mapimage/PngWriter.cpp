#include "mapimage/PngWriter.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <vector>

#include "mapimage/PictureFile.h"
#include "mapimage/PngErrorText.h"

namespace {

// libpng reports errors by longjmp back to here, so this function holds no object with a
// destructor and nothing it changes is read after the jump.
bool encode(png_structp png, png_infop info, const PngWriter::Settings& settings, std::FILE* file,
            int width, int height, const PngWriter::RowSource& rows, std::uint8_t* row) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_init_io(png, file);
    // IDAT chunks are cut at the size of the compression buffer.
    png_set_compression_buffer_size(png, settings.maxIdatBytes);
    const int colourType =
        settings.colour == PngWriter::Colour::Rgb ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA;
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (settings.compressionLevel >= 0) {
        png_set_compression_level(png, settings.compressionLevel);
    }
    if (settings.filter == PngWriter::RowFilter::Sub) {
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    }
    if (settings.pixelsPerMetre > 0) {
        png_set_pHYs(png, info, settings.pixelsPerMetre, settings.pixelsPerMetre,
                     PNG_RESOLUTION_METER);
    }
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        rows(y, row);
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

struct PngWriter::State {
    png_structp png = nullptr;
    png_infop info = nullptr;
    PngErrorText error;
};

PngWriter::PngWriter(const Settings& settings)
    : settings_(settings), state_(std::make_unique<State>()) {
    state_->png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state_->error, keepPngError,
                                          dropPngWarning);
    if (state_->png) {
        state_->info = png_create_info_struct(state_->png);
    }
}

PngWriter::~PngWriter() {
    png_destroy_write_struct(&state_->png, &state_->info);
}

bool PngWriter::write(std::FILE* file, int width, int height, const RowSource& rows,
                      QString& error) {
    if (!state_->png || !state_->info) {
        error = QStringLiteral("Не хватает памяти для кодировщика PNG");
        return false;
    }
    const std::size_t channels = settings_.colour == Colour::Rgb ? 3 : 4;
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * channels);
    errno = 0;
    if (!encode(state_->png, state_->info, settings_, file, width, height, rows, row.data())) {
        error = writeFailureReason(file, state_->error.message);
        return false;
    }
    return true;
}
