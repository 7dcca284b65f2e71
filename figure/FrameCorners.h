#pragma once

#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <vector>

#include "figure/FigureOptions.h"

namespace zelkora {

// Where the boxes inside a frame go (the legend, the scale bar, the north arrow, the inset): in
// a corner, kInsetMm from the frame; in a frame that is no rectangle (a box north up), moved in
// from the corner until the frame holds it.
struct CornerPlace {
    FigureCorner corner = FigureCorner::None;
    QRectF rect;
    int covered = 0;  // markers it covers
};

class FrameCorners {
  public:
    // outline: the frame on the page, closed; frame: its bounds; markers: the markers' boxes.
    FrameCorners(const QPolygonF& outline, const QRectF& frame, std::vector<QRectF> markers);

    // Sets a box of size in the requested corner, or for Auto in the first of preferred that
    // covers the fewest markers, away from the boxes set before; None gives nothing.
    CornerPlace place(QSizeF size, FigureCorner requested,
                      const std::vector<FigureCorner>& preferred);

    // A box placed only to be measured (its size may change) is taken back with forget and set
    // for good with keep.
    void forget(const CornerPlace& place);
    void keep(const CornerPlace& place);

  private:
    QRectF at(QSizeF size, FigureCorner corner) const;
    bool holds(const QRectF& rect) const;

    QPolygonF outline_;
    QRectF frame_;
    bool rectangular_;
    std::vector<QRectF> markers_;
    std::vector<CornerPlace> taken_;
};

}  // namespace zelkora
