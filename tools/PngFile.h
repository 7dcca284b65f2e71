#pragma once

#include <QImage>
#include <QString>

namespace zelkora {

// Writes map pictures and icons through the raster's PNG writer: 8-bit RGBA (colour type 6) at
// zlib's strongest compression, making the folder first.
class PngFile {
  public:
    static void save(const QImage& image, const QString& path);
};

}  // namespace zelkora
