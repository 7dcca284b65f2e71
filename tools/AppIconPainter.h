#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QString>
#include <array>
#include <vector>

namespace zelkora {

// Zelkora's application icon: a corner of a map (sea, land, a coast, a river and the grid) with
// three of the program's markers on it, their outlines taken from the marker shapes
// (plot/MarkerShape.h). One list of
// filled shapes gives both the scalable SVG and the PNG of every size, so the two agree.
class AppIconPainter {
  public:
    // The drawing's own units; the SVG's view box is this square.
    static constexpr int kBox = 256;
    // The hicolor theme's usual sizes for application icons.
    static constexpr std::array<int, 8> kPngSizes = {16, 22, 24, 32, 48, 64, 128, 256};

    static QString svg();
    // size x size pixels, 8-bit RGBA.
    static QImage png(int size);

  private:
    struct Layer {
        QPainterPath path;
        QColor colour;
    };
    static std::vector<Layer> layers();
};

}  // namespace zelkora
