#pragma once

#include <QImage>
#include <QString>

// Writes map pictures and icons as 8-bit RGBA PNG (colour type 6) at the strongest compression.
class PngFile {
  public:
    static void save(const QImage& image, const QString& path);
};
