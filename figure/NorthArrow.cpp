#include "figure/NorthArrow.h"

#include <cmath>
#include <numbers>

#include "figure/FigureSizes.h"
#include "figure/FigureText.h"

namespace zelkora {

namespace {

// The arrow's length in heights of the figure's text, its width in parts of its length, and
// where the notch of its tail lies, in parts of its length from the middle.
constexpr double kLengthInLines = 2.5;
constexpr double kWidthShare = 0.4;
constexpr double kNotchShare = 0.25;

}  // namespace

void layOutNorthArrow(FigureLayout& layout, FrameCorners& corners) {
    const FigureOptions& options = layout.options;
    const bool linesShown = options.layers[0] && options.graticuleLines;
    if (options.northArrow == FigureCorner::None ||
        (options.northArrow == FigureCorner::Auto && linesShown)) {
        return;
    }
    const FigureText bold(options.fontPt, true, false);
    const double length = kLengthInLines * bold.heightMm();
    const double width = kWidthShare * length;
    const QString letter =
        options.language == FigureLanguage::Russian ? QStringLiteral("С") : QStringLiteral("N");
    // Square room for the arrow, whichever way it turns, with the letter above.
    const QSizeF size(2 * kPadMm + length, 2 * kPadMm + bold.heightMm() + length);
    const CornerPlace place = corners.place(size, options.northArrow,
                                            {FigureCorner::TopRight, FigureCorner::TopLeft,
                                             FigureCorner::BottomRight, FigureCorner::BottomLeft});
    FigureNorthArrow& arrow = layout.northArrow;
    arrow.corner = place.corner;
    arrow.panel = 0;
    arrow.box = place.rect;
    const QPointF centre(place.rect.center().x(), place.rect.bottom() - kPadMm - length / 2);
    const QTransform toPlane = layout.mmFromPlane(layout.panels.front()).inverted();
    // The plane's y grows downward, as the page's does, and the scale is the same both ways.
    const QPointF up = layout.projection.northAt(layout.projection.toGeo(toPlane.map(centre)));
    const QPointF side(-up.y(), up.x());
    const QPointF tip = centre + up * (length / 2);
    const QPointF tail = centre - up * (length / 2);
    const QPointF notch = centre - up * (length * kNotchShare);
    arrow.blackHalf = QPolygonF({tip, tail + side * (width / 2), notch});
    arrow.whiteHalf = QPolygonF({tip, notch, tail - side * (width / 2)});
    arrow.letter = letter;
    arrow.letterBaseline = QPointF(place.rect.center().x() - bold.widthMm(letter) / 2,
                                   place.rect.top() + kPadMm + bold.ascentMm());
    arrow.bearingDeg = std::atan2(up.x(), -up.y()) * 180.0 / std::numbers::pi;
}

}  // namespace zelkora
