#include "figure/FrameCorners.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "figure/FigureSizes.h"
#include "figure/PathClip.h"

namespace zelkora {

namespace {

// Steps in which a box is moved in from a corner of a frame that is no rectangle: at least this
// long, and this many across half the frame.
constexpr double kSearchStepMm = 0.5;
constexpr int kSearchSteps = 100;
// The frame's outline is tested in fewer points, none of them further than this from its arcs:
// a box may come this much nearer to a side than kInsetMm.
constexpr double kOutlineToleranceMm = 0.1;
// Points along each side of a box that the frame must hold.
constexpr int kEdgeChecks = 6;

bool isLeft(FigureCorner c) {
    return c == FigureCorner::TopLeft || c == FigureCorner::BottomLeft;
}

bool isTop(FigureCorner c) {
    return c == FigureCorner::TopLeft || c == FigureCorner::TopRight;
}

}  // namespace

FrameCorners::FrameCorners(const QPolygonF& outline, const QRectF& frame,
                           std::vector<QRectF> markers)
    : outline_(simplified(outline, kOutlineToleranceMm)),
      frame_(frame),
      markers_(std::move(markers)) {
    rectangular_ = outline.size() <= 5 && outline.boundingRect() == frame;
}

bool FrameCorners::holds(const QRectF& rect) const {
    if (rectangular_) {
        return frame_.adjusted(kInsetMm, kInsetMm, -kInsetMm, -kInsetMm)
            .adjusted(-1e-9, -1e-9, 1e-9, 1e-9)
            .contains(rect);
    }
    const QRectF room = rect.adjusted(-kInsetMm, -kInsetMm, kInsetMm, kInsetMm);
    for (int i = 0; i <= kEdgeChecks; ++i) {
        const double t = static_cast<double>(i) / kEdgeChecks;
        for (const QPointF p : {room.topLeft() + QPointF(room.width() * t, 0),
                                room.bottomLeft() + QPointF(room.width() * t, 0),
                                room.topLeft() + QPointF(0, room.height() * t),
                                room.topRight() + QPointF(0, room.height() * t)}) {
            if (!outline_.containsPoint(p, Qt::OddEvenFill)) {
                return false;
            }
        }
    }
    return true;
}

QRectF FrameCorners::at(QSizeF size, FigureCorner corner) const {
    const bool left = isLeft(corner);
    const bool top = isTop(corner);
    const double x = left ? frame_.left() + kInsetMm : frame_.right() - kInsetMm - size.width();
    const double y = top ? frame_.top() + kInsetMm : frame_.bottom() - kInsetMm - size.height();
    QRectF r(QPointF(x, y), size);
    // Another box already in the corner pushes this one towards the frame's middle.
    for (const CornerPlace& other : taken_) {
        if (other.corner == corner) {
            r.translate(0,
                        top ? other.rect.height() + kInsetMm : -(other.rect.height() + kInsetMm));
        }
    }
    if (holds(r)) {
        return r;
    }
    // Moved in, nearest first, until the frame holds it, at most half the frame either way.
    const double step =
        std::max(kSearchStepMm, std::max(frame_.width(), frame_.height()) / 2 / kSearchSteps);
    const int across = static_cast<int>(frame_.width() / 2 / step);
    const int down = static_cast<int>(frame_.height() / 2 / step);
    const double dx = left ? step : -step;
    const double dy = top ? step : -step;
    for (int distance = 1; distance <= across + down; ++distance) {
        for (int i = std::max(0, distance - down); i <= std::min(distance, across); ++i) {
            const QRectF moved = r.translated(dx * i, dy * (distance - i));
            if (holds(moved)) {
                return moved;
            }
        }
    }
    return r;
}

CornerPlace FrameCorners::place(QSizeF size, FigureCorner requested,
                                const std::vector<FigureCorner>& preferred) {
    if (requested == FigureCorner::None) {
        return {};
    }
    const auto placed = [&](FigureCorner corner) {
        const QRectF r = at(size, corner);
        int covered = 0;
        for (const QRectF& m : markers_) {
            covered += r.intersects(m) ? 1 : 0;
        }
        return CornerPlace{corner, r, covered};
    };
    CornerPlace best;
    if (requested != FigureCorner::Auto) {
        best = placed(requested);
    } else {
        int fewest = std::numeric_limits<int>::max();
        for (const FigureCorner corner : preferred) {
            const bool used = std::any_of(taken_.begin(), taken_.end(),
                                          [&](const CornerPlace& t) { return t.corner == corner; });
            if (used) {
                continue;
            }
            const CornerPlace p = placed(corner);
            if (p.covered < fewest) {
                best = p;
                fewest = p.covered;
            }
        }
        if (best.corner == FigureCorner::None) {
            best = placed(preferred.front());
        }
    }
    taken_.push_back(best);
    return best;
}

void FrameCorners::forget(const CornerPlace& place) {
    const auto it = std::find_if(taken_.begin(), taken_.end(), [&](const CornerPlace& t) {
        return t.corner == place.corner && t.rect == place.rect;
    });
    if (it != taken_.end()) {
        taken_.erase(it);
    }
}

void FrameCorners::keep(const CornerPlace& place) {
    if (place.corner != FigureCorner::None) {
        taken_.push_back(place);
    }
}

}  // namespace zelkora
