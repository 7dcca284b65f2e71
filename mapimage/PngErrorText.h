#pragma once

#include <png.h>

#include <cstdio>

namespace zelkora {

// Internal to mapimage/, for its libpng reader and writer. libpng reports an error through
// keepPngError, given to png_create_*_struct with a PngErrorText as the error pointer: the
// message is kept there and libpng jumps back to the caller's setjmp. Warnings are dropped.
struct PngErrorText {
    char message[256] = {};
};

[[noreturn]] inline void keepPngError(png_structp png, png_const_charp message) {
    auto* error = static_cast<PngErrorText*>(png_get_error_ptr(png));
    std::snprintf(error->message, sizeof error->message, "%s", message ? message : "");
    png_longjmp(png, 1);
}

inline void dropPngWarning(png_structp, png_const_charp) {}

}  // namespace zelkora
