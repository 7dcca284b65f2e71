#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <array>
#include <cstdint>

#include "mapimage/TPngImage.h"

using Rgba = std::array<std::uint8_t, 4>;

inline TPngImage filledImage(int width, int height, Rgba colour) {
    TPngImage image = TPngImage::CreateBlank(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = image.row(y);
        for (int x = 0; x < width; ++x) {
            std::copy(colour.begin(), colour.end(), row + 4 * x);
        }
    }
    return image;
}

inline Rgba pixelAt(const TPngImage& image, int x, int y) {
    const std::uint8_t* p = image.row(y) + 4 * x;
    return {p[0], p[1], p[2], p[3]};
}

inline void setPixel(TPngImage& image, int x, int y, Rgba colour) {
    std::copy(colour.begin(), colour.end(), image.row(y) + 4 * x);
}

// A data folder of the program's layout with only the icons the test writes: <dir>/icons/N.png.
class IconFolder {
  public:
    IconFolder() { QDir(dir_.path()).mkpath(QStringLiteral("icons")); }

    // dataDir as the core takes it, with a trailing "/".
    QString dataDir() const { return dir_.path() + QLatin1Char('/'); }
    QString iconFile(int type) const {
        return dataDir() + QStringLiteral("icons/%1.png").arg(type);
    }
    void write(int type, const TPngImage& icon) const { icon.SaveToFile(iconFile(type)); }

  private:
    QTemporaryDir dir_;
};
