#include "figure/TakenRoom.h"

#include <algorithm>
#include <cmath>

#include "figure/FigureLayout.h"
#include "figure/FigureSizes.h"
#include "figure/PathClip.h"

namespace zelkora {

namespace {

// The grid's cells, in millimetres: about a marker's size, so that a box looks at few others.
constexpr double kCellMm = 4.0;
// The frame's outline is tested in fewer points, none further than this from its arcs.
constexpr double kOutlineToleranceMm = 0.05;

}  // namespace

bool crosses(const QLineF& line, const QRectF& rect) {
    // Liang and Barsky: the part of the segment within the rectangle's four half-planes.
    double t0 = 0.0;
    double t1 = 1.0;
    const double dx = line.dx();
    const double dy = line.dy();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {line.x1() - rect.left(), rect.right() - line.x1(), line.y1() - rect.top(),
                         rect.bottom() - line.y1()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] <= 0.0) {
                return false;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 >= t1) {
            return false;
        }
    }
    return true;
}

TakenRoom::TakenRoom(const QPolygonF& outline, const QRectF& frame)
    : outline_(simplified(outline, kOutlineToleranceMm)),
      frame_(frame),
      rectangular_(outline.size() <= 5 && outline.boundingRect() == frame),
      columns_(std::max(1, static_cast<int>(std::ceil(frame.width() / kCellMm)))),
      rows_(std::max(1, static_cast<int>(std::ceil(frame.height() / kCellMm)))),
      cells_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_)) {}

TakenRoom::Cells TakenRoom::cellsOf(const QRectF& box) const {
    const auto column = [&](double x) {
        return std::clamp(static_cast<int>(std::floor((x - frame_.left()) / kCellMm)), 0,
                          columns_ - 1);
    };
    const auto row = [&](double y) {
        return std::clamp(static_cast<int>(std::floor((y - frame_.top()) / kCellMm)), 0, rows_ - 1);
    };
    return {column(box.left()), row(box.top()), column(box.right()), row(box.bottom())};
}

void TakenRoom::take(const QRectF& box) {
    if (box.isEmpty()) {
        return;
    }
    const int index = static_cast<int>(boxes_.size());
    boxes_.push_back(box);
    const Cells c = cellsOf(box);
    for (int y = c.top; y <= c.bottom; ++y) {
        for (int x = c.left; x <= c.right; ++x) {
            cells_[static_cast<std::size_t>(y * columns_ + x)].push_back(index);
        }
    }
}

void TakenRoom::take(const QLineF& leader) {
    leaders_.push_back(leader);
}

bool TakenRoom::meetsTaken(const QRectF& box) const {
    const Cells c = cellsOf(box);
    for (int y = c.top; y <= c.bottom; ++y) {
        for (int x = c.left; x <= c.right; ++x) {
            for (const int i : cells_[static_cast<std::size_t>(y * columns_ + x)]) {
                if (boxes_[static_cast<std::size_t>(i)].intersects(box)) {
                    return true;
                }
            }
        }
    }
    return std::any_of(leaders_.begin(), leaders_.end(),
                       [&](const QLineF& l) { return crosses(l, box); });
}

bool TakenRoom::crossesTaken(const QLineF& line) const {
    const Cells c = cellsOf(QRectF(line.p1(), line.p2()).normalized());
    for (int y = c.top; y <= c.bottom; ++y) {
        for (int x = c.left; x <= c.right; ++x) {
            for (const int i : cells_[static_cast<std::size_t>(y * columns_ + x)]) {
                if (crosses(line, boxes_[static_cast<std::size_t>(i)])) {
                    return true;
                }
            }
        }
    }
    // Leaders may not cross either.
    return std::any_of(leaders_.begin(), leaders_.end(), [&](const QLineF& l) {
        QPointF at;
        return line.intersects(l, &at) == QLineF::BoundedIntersection;
    });
}

bool TakenRoom::inFrame(const QRectF& box) const {
    const QRectF room =
        box.adjusted(-kRoomFromFrameMm, -kRoomFromFrameMm, kRoomFromFrameMm, kRoomFromFrameMm);
    if (!frame_.contains(room)) {
        return false;
    }
    if (rectangular_) {
        return true;
    }
    // A frame north up: two meridians, straight lines through the cone's apex, and two
    // parallels, arcs round it, all symmetric about the central meridian in the frame's middle.
    // A box holding its corners is within the meridians, and within the arc it is nearer the
    // apex to (the one whose middle bulges towards the box) unless that arc comes nearest over
    // the central meridian: so the corners and the points of its top and bottom sides nearest
    // that meridian tell.
    const double middle = std::clamp(frame_.center().x(), room.left(), room.right());
    for (const QPointF p : {room.topLeft(), room.topRight(), room.bottomLeft(), room.bottomRight(),
                            QPointF(middle, room.top()), QPointF(middle, room.bottom())}) {
        if (!outline_.containsPoint(p, Qt::OddEvenFill)) {
            return false;
        }
    }
    return true;
}

bool TakenRoom::isFree(const QRectF& box) const {
    return !meetsTaken(box) && inFrame(box);
}

TakenRoom takenRoomOf(const FigureLayout& layout, int panel) {
    const FigurePanel& p = layout.panels.at(static_cast<std::size_t>(panel));
    TakenRoom room(p.outline, p.frame);
    for (const QRectF& marker : layout.markerBoxes(panel)) {
        room.take(marker);
    }
    if (layout.legend.corner != FigureCorner::None && layout.legend.panel == panel) {
        room.take(layout.legend.box);
    }
    if (layout.scaleBar.corner != FigureCorner::None && layout.scaleBar.panel == panel) {
        room.take(layout.scaleBar.box);
    }
    if (layout.northArrow.corner != FigureCorner::None && layout.northArrow.panel == panel) {
        room.take(layout.northArrow.box);
    }
    if (layout.inset.corner != FigureCorner::None && layout.inset.panel == panel) {
        room.take(layout.inset.box);
    }
    for (const PointNumber& n : layout.numbers) {
        if (n.drawn && n.panel == panel) {
            room.take(n.box);
            if (!n.leader.isNull()) {
                room.take(n.leader);
            }
        }
    }
    for (const PlaceName& name : layout.names) {
        if (name.panel == panel) {
            room.take(name.box);
        }
    }
    return room;
}

}  // namespace zelkora
