#include "figure/PointNumbers.h"

#include <algorithm>
#include <array>
#include <map>
#include <numeric>

#include "figure/FigureSizes.h"
#include "figure/FigureText.h"
#include "figure/Legend.h"
#include "figure/TakenRoom.h"

namespace zelkora {

namespace {

// Where a number stands from its marker: x and y are 1 right or below, -1 left or above, 0
// centred. In the order tried: right first, as a number is read after its marker.
struct Place {
    int x;
    int y;
};
constexpr std::array<Place, 8> kPlaces = {
    {{1, 0}, {1, -1}, {1, 1}, {-1, 0}, {-1, -1}, {-1, 1}, {0, -1}, {0, 1}}};
// The ring beside the marker, then this many rings further off, a number's height apart.
constexpr int kOffRings = 2;
// A leader starts this far outside its marker's box, so that it does not count as crossing it.
constexpr double kLeaderStartMm = 0.05;

// A number's box at a place round a marker centred at c whose box reaches half from it, moved
// off by ring steps.
QRectF boxAt(QPointF c, double half, QSizeF size, Place p, int ring) {
    const double d = half + kNumberGapMm;
    const double step = ring * (size.height() + kNumberGapMm);
    double left = c.x() - size.width() / 2;
    if (p.x > 0) {
        left = c.x() + d + step;
    } else if (p.x < 0) {
        left = c.x() - d - step - size.width();
    }
    double top = c.y() - size.height() / 2;
    if (p.x == 0) {
        top = p.y < 0 ? c.y() - d - step - size.height() : c.y() + d + step;
    } else if (p.y < 0) {
        // Beside and above: the box's bottom on the marker's middle.
        top = c.y() - size.height() - step;
    } else if (p.y > 0) {
        top = c.y() + step;
    }
    return {QPointF(left, top), size};
}

// The leader from the edge of the marker's box (centre c, reaching half) to the nearest point of
// the number's box.
QLineF leaderTo(QPointF c, double half, const QRectF& box) {
    const QPointF nearest(std::clamp(c.x(), box.left(), box.right()),
                          std::clamp(c.y(), box.top(), box.bottom()));
    const QPointF d = nearest - c;
    const double along = std::max(std::fabs(d.x()), std::fabs(d.y()));
    const QPointF start = c + d * ((half + kLeaderStartMm) / along);
    return {start, nearest};
}

}  // namespace

void layOutPointNumbers(FigureLayout& layout, const PointTable& table) {
    const FigureOptions& options = layout.options;
    if (options.numbering == PointNumbering::None) {
        return;
    }
    // In table order within each column, columns in order.
    std::vector<std::size_t> order(layout.drawn.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const FigurePoint& p = layout.drawn[a];
        const FigurePoint& q = layout.drawn[b];
        return std::pair(p.column, p.row) < std::pair(q.column, q.row);
    });
    std::map<int, QString> names;
    int number = 0;
    int column = -1;
    for (const std::size_t i : order) {
        const FigurePoint& p = layout.drawn[i];
        if (p.column != column) {
            column = p.column;
            names[column] = columnName(table, column, options.language).text;
            if (options.numbering == PointNumbering::PerColumn) {
                number = 0;
            }
        }
        PointNumber n;
        n.number = ++number;
        n.point = p;
        n.columnName = names[column];
        n.panel = layout.panelOf(p);
        layout.numbers.push_back(n);
    }

    const FigureText font(options.fontPt * kNumberScale, false, false);
    const double half = options.markerMm / 2 + layout.markerOutlineMm;
    std::map<int, TakenRoom> rooms;
    QStringList missing;
    for (PointNumber& n : layout.numbers) {
        auto room = rooms.find(n.panel);
        if (room == rooms.end()) {
            room = rooms.emplace(n.panel, takenRoomOf(layout, n.panel)).first;
        }
        const QString text = QString::number(n.number);
        // The digits' box, their halo included.
        const QSizeF size(font.widthMm(text) + 2 * kHaloMm, font.capHeightMm() + 2 * kHaloMm);
        const QPointF centre =
            layout.mmFromPlane(layout.panels[static_cast<std::size_t>(n.panel)]).map(n.point.plane);
        for (int ring = 0; ring <= kOffRings && !n.drawn; ++ring) {
            for (const Place& place : kPlaces) {
                const QRectF box = boxAt(centre, half, size, place, ring);
                if (!room->second.isFree(box)) {
                    continue;
                }
                QLineF leader;
                if (ring > 0) {
                    leader = leaderTo(centre, half, box);
                    if (room->second.crossesTaken(leader)) {
                        continue;
                    }
                    room->second.take(leader);
                }
                room->second.take(box);
                n.drawn = true;
                n.box = box;
                n.leader = leader;
                n.baseline = QPointF(box.left() + kHaloMm, box.bottom() - kHaloMm);
                break;
            }
        }
        if (!n.drawn) {
            missing << text;
        }
    }
    if (!missing.isEmpty()) {
        layout.warnings << QStringLiteral(
                               "Номерам не нашлось места у их значков, на рисунке их нет (в "
                               "ключе они есть): %1")
                               .arg(missing.join(QStringLiteral(", ")));
    }
}

}  // namespace zelkora
