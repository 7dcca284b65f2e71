#include "plot/ResizeIMG.h"

#include "common/ZelkoraError.h"

#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_IMAGE_RESIZE_STATIC
#include <stb/stb_image_resize.h>

namespace zelkora {

// The halftone stretch works on a canvas of max(W, newx) x max(H, newy) whose added pixels are
// black and opaque, stretches the W x H region into the newx x newy region at its top-left and
// then cuts the canvas to newx x newy. The stretched region always lies inside the canvas and
// covers all of what is kept, so the added pixels never reach the result: it is exactly the
// W x H picture resampled into newx x newy, which is what is computed here directly.
void ResizeIMG(TPngImage& png, int newx, int newy) {
    if (newx < 1 || newy < 1) {
        throw ZelkoraError(
            QStringLiteral("Неверный размер значка: %1 × %2 пикселей").arg(newx).arg(newy));
    }
    if (png.isEmpty()) {
        throw ZelkoraError("Пустое изображение значка нельзя масштабировать");
    }
    const int w = png.Width();
    const int h = png.Height();
    if (newx == w && newy == h) {
        return;
    }
    TPngImage scaled = TPngImage::CreateBlank(newx, newy);
    // The box filter of stb is a trapezoid: the exact coverage of each source pixel by the
    // destination pixel in both directions. No alpha channel is named, so no premultiplying.
    const int ok = stbir_resize_uint8_generic(png.bits(), w, h, 0, scaled.bits(), newx, newy, 0,
                                              TPngImage::kChannels, STBIR_ALPHA_CHANNEL_NONE, 0,
                                              STBIR_EDGE_CLAMP, STBIR_FILTER_BOX,
                                              STBIR_COLORSPACE_LINEAR, nullptr);
    if (!ok) {
        throw ZelkoraError(QStringLiteral("Не удалось масштабировать значок %1 × %2 до %3 × %4")
                               .arg(w)
                               .arg(h)
                               .arg(newx)
                               .arg(newy));
    }
    png = std::move(scaled);
}

}  // namespace zelkora
