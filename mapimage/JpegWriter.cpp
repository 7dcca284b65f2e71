#include "mapimage/JpegWriter.h"

#include <jpeglib.h>

#include <cerrno>
#include <csetjmp>
#include <vector>

#include "mapimage/PictureFile.h"

namespace zelkora {

namespace {

// libjpeg reports errors by longjmp. The function that sets the jump point holds no object with a
// destructor, and nothing it changes is read after the jump.

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void jpegErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<JpegError*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void jpegQuiet(j_common_ptr, int) {}

bool encodeJpeg(jpeg_compress_struct* cinfo, JpegError* err, std::FILE* file, int width, int height,
                const JpegWriter::RowSource& rows, const JpegWriter::Settings& settings,
                std::uint8_t* row) {
    if (setjmp(err->jump)) {
        return false;
    }
    jpeg_create_compress(cinfo);
    jpeg_stdio_dest(cinfo, file);
    cinfo->image_width = static_cast<JDIMENSION>(width);
    cinfo->image_height = static_cast<JDIMENSION>(height);
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_RGB;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, settings.quality, TRUE);
    if (settings.dotsPerInch > 0) {
        cinfo->write_JFIF_header = TRUE;
        cinfo->density_unit = 1;  // dots per inch
        cinfo->X_density = static_cast<UINT16>(settings.dotsPerInch);
        cinfo->Y_density = static_cast<UINT16>(settings.dotsPerInch);
    }
    jpeg_start_compress(cinfo, TRUE);
    JSAMPROW rowPointers[1] = {row};
    for (int y = 0; y < height; ++y) {
        rows(y, row);
        jpeg_write_scanlines(cinfo, rowPointers, 1);
    }
    jpeg_finish_compress(cinfo);
    return true;
}

}  // namespace

bool JpegWriter::write(std::FILE* file, int width, int height, const RowSource& rows,
                       QString& error) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
    jpeg_compress_struct cinfo{};
    JpegError err{};
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = jpegErrorExit;
    err.mgr.emit_message = jpegQuiet;
    errno = 0;
    const bool ok = encodeJpeg(&cinfo, &err, file, width, height, rows, settings_, row.data());
    if (!ok) {
        error = writeFailureReason(file, err.message);
    }
    jpeg_destroy_compress(&cinfo);
    return ok;
}

}  // namespace zelkora
