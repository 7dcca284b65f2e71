#pragma once

#include <QColor>
#include <QImage>
#include <QPen>
#include <vector>

#include "tools/GeoPolyline.h"
#include "tools/MapFrame.h"

namespace zelkora {

// Draws geographic lines onto one transparent map layer. Coverage is collected as alpha and the
// layer comes out in a single colour, so only alpha varies across it.
class LayerPainter {
  public:
    explicit LayerPainter(const MapFrame& frame);

    // Widths are in pixels of the normal map; high resolution doubles them with the scale.
    // A dashed style (Qt::CustomDashLine) uses dashes of 5 and gaps of 3 line widths.
    void draw(const std::vector<GeoPolyline>& lines, double width,
              Qt::PenStyle style = Qt::SolidLine);

    // The layer in the colour (its own alpha ignored), 8-bit RGBA.
    QImage image(QColor colour) const;

  private:
    const MapFrame& frame_;
    QImage coverage_;
};

}  // namespace zelkora
