#include "figure/TiffWriter.h"

#include <tiffio.h>

#include <cerrno>
#include <cstdarg>
#include <memory>
#include <vector>

#include "mapimage/PictureFile.h"

namespace zelkora {

namespace {

// libtiff's input and output on an open stream.
tmsize_t readProc(thandle_t handle, void* data, tmsize_t size) {
    return static_cast<tmsize_t>(
        std::fread(data, 1, static_cast<std::size_t>(size), static_cast<std::FILE*>(handle)));
}

tmsize_t writeProc(thandle_t handle, void* data, tmsize_t size) {
    return static_cast<tmsize_t>(
        std::fwrite(data, 1, static_cast<std::size_t>(size), static_cast<std::FILE*>(handle)));
}

toff_t seekProc(thandle_t handle, toff_t offset, int whence) {
    auto* file = static_cast<std::FILE*>(handle);
    if (fseeko(file, static_cast<off_t>(offset), whence) != 0) {
        return static_cast<toff_t>(-1);
    }
    return static_cast<toff_t>(ftello(file));
}

int closeProc(thandle_t) {
    return 0;  // the stream belongs to the caller
}

toff_t sizeProc(thandle_t handle) {
    auto* file = static_cast<std::FILE*>(handle);
    const off_t here = ftello(file);
    fseeko(file, 0, SEEK_END);
    const off_t end = ftello(file);
    fseeko(file, here, SEEK_SET);
    return static_cast<toff_t>(end);
}

int mapProc(thandle_t, void**, toff_t*) {
    return 0;
}

void unmapProc(thandle_t, void*, toff_t) {}

int keepError(TIFF*, void* userData, const char*, const char* format, va_list args) {
    char message[512];
    std::vsnprintf(message, sizeof message, format, args);
    auto* error = static_cast<std::string*>(userData);
    if (error->empty()) {
        *error = message;
    }
    return 1;
}

int quiet(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

struct TiffClose {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
struct OptionsFree {
    void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};

// About this many bytes of picture to a strip.
constexpr int kStripBytes = 256 * 1024;

}  // namespace

bool TiffWriter::write(std::FILE* file, int width, int height, const RowSource& rows,
                       QString& error) {
    std::string message;
    const std::unique_ptr<TIFFOpenOptions, OptionsFree> options(TIFFOpenOptionsAlloc());
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), keepError, &message);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), quiet, nullptr);
    errno = 0;
    const std::unique_ptr<TIFF, TiffClose> tiff(
        TIFFClientOpenExt("figure.tif", "w", file, readProc, writeProc, seekProc, closeProc,
                          sizeProc, mapProc, unmapProc, options.get()));
    const auto fail = [&] {
        error = writeFailureReason(file, message.c_str());
        return false;
    };
    if (!tiff) {
        return fail();
    }
    const int rowBytes = width * 3;
    const int rowsPerStrip = std::max(1, kStripBytes / rowBytes);
    TIFF* t = tiff.get();
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(width));
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(height));
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(t, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, static_cast<std::uint32_t>(rowsPerStrip));
    TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(t, TIFFTAG_XRESOLUTION, static_cast<float>(dpi_));
    TIFFSetField(t, TIFFTAG_YRESOLUTION, static_cast<float>(dpi_));
    TIFFSetField(t, TIFFTAG_SOFTWARE, "Zelkora");

    std::vector<std::uint8_t> strip(static_cast<std::size_t>(rowBytes) *
                                    static_cast<std::size_t>(rowsPerStrip));
    for (int y0 = 0, index = 0; y0 < height; y0 += rowsPerStrip, ++index) {
        const int count = std::min(rowsPerStrip, height - y0);
        for (int i = 0; i < count; ++i) {
            rows(y0 + i, strip.data() + static_cast<std::size_t>(i) * rowBytes);
        }
        if (TIFFWriteEncodedStrip(t, static_cast<std::uint32_t>(index), strip.data(),
                                  static_cast<tmsize_t>(count) * rowBytes) < 0) {
            return fail();
        }
    }
    if (!TIFFFlush(t)) {
        return fail();
    }
    return true;
}

}  // namespace zelkora
