#include "figure/DrawnExtent.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

#include "figure/Extent.h"
#include "figure/FigureLayout.h"
#include "figure/FigureMap.h"
#include "figure/Graticule.h"

namespace zelkora {

namespace {

// The box as four unknowns (south, west, north, east) and the extent's sides they must give
// (left, top, right, bottom), in pixels.
using Vec4 = std::array<double, 4>;
using Mat4 = std::array<Vec4, 4>;

// A step of the box's sides for the slopes: about a thousandth of a normal-resolution pixel.
constexpr double kSlopeStepDeg = 1e-5;
// Close enough: a hundredth of a pixel on every side.
constexpr double kDonePx = 0.01;
constexpr int kMaxRounds = 100;
// A box fits when its outline's bounds are this close to the rectangle, side by side.
constexpr double kFitPx = 0.05;
// The box is at least this high and wide, so that its sides stay apart when they are written
// to four decimals.
constexpr double kMinSpanDeg = 0.01;
// A side inside the rectangle stays within about a thousandth of the other sides' excess.
constexpr double kInsideWeight = 30.0;

double squaredSum(const Vec4& v) {
    double s = 0.0;
    for (const double x : v) {
        s += x * x;
    }
    return s;
}

double largest(const Vec4& v) {
    double m = 0.0;
    for (const double x : v) {
        m = std::max(m, std::fabs(x));
    }
    return m;
}

// Solves a * x = b by elimination with partial pivoting; false when a is singular.
bool solve(Mat4 a, Vec4 b, Vec4& x) {
    for (std::size_t col = 0; col < 4; ++col) {
        std::size_t pivot = col;
        for (std::size_t row = col + 1; row < 4; ++row) {
            if (std::fabs(a[row][col]) > std::fabs(a[pivot][col])) {
                pivot = row;
            }
        }
        if (std::fabs(a[pivot][col]) < 1e-300) {
            return false;
        }
        std::swap(a[col], a[pivot]);
        std::swap(b[col], b[pivot]);
        for (std::size_t row = col + 1; row < 4; ++row) {
            const double f = a[row][col] / a[col][col];
            for (std::size_t k = col; k < 4; ++k) {
                a[row][k] -= f * a[col][k];
            }
            b[row] -= f * b[col];
        }
    }
    for (std::size_t i = 4; i-- > 0;) {
        double s = b[i];
        for (std::size_t k = i + 1; k < 4; ++k) {
            s -= a[i][k] * x[k];
        }
        x[i] = s / a[i][i];
    }
    return std::all_of(x.begin(), x.end(), [](double v) { return std::isfinite(v); });
}

}  // namespace

DegreeBox degreeBoxFor(const FigureProjection& projection, const FigureMap& map,
                       const QRectF& extent) {
    if (projection.isNorthUp()) {
        const double south = projection.toGeo({extent.center().x(), extent.bottom()}).lat;
        const double north = projection.toGeo({extent.center().x(), extent.top()}).lat;
        const double west = projection.toGeo({extent.left(), extent.center().y()}).lon;
        const double east = projection.toGeo({extent.right(), extent.center().y()}).lon;
        return {south, map.mapLongitude(west), north, map.mapLongitude(west) + (east - west)};
    }
    const Vec4 target = {extent.left(), extent.top(), extent.right(), extent.bottom()};
    // How far the outline of box q is from the rectangle, side by side, a side inside the
    // rectangle weighing insideWeight times as much; false for a box that is no box or has no
    // place on the map.
    const auto offsets = [&](const Vec4& q, double insideWeight, Vec4& r) {
        if (q[2] - q[0] < kMinSpanDeg || q[3] - q[1] < kMinSpanDeg || q[0] < -90.0 || q[2] > 90.0) {
            return false;
        }
        // The outline's bounds uncut: an edge cut to the map's would not move with its side.
        const QRectF e = boxOutlineBounds(map, {q[0], q[1], q[2], q[3]});
        if (e.isEmpty()) {
            return false;
        }
        r = {e.left() - target[0], e.top() - target[1], e.right() - target[2],
             e.bottom() - target[3]};
        for (std::size_t i = 0; i < 4; ++i) {
            if ((i < 2) == (r[i] > 0)) {
                r[i] *= insideWeight;
            }
        }
        return true;
    };

    // Damped Newton steps (Levenberg-Marquardt) on the box's sides, from start, until the sides
    // are close enough or no step brings them nearer.
    const auto fit = [&](Vec4 box, double insideWeight) {
        Vec4 off{};
        if (!offsets(box, insideWeight, off)) {
            return std::pair(box, std::numeric_limits<double>::infinity());
        }
        double damping = 1e-3;
        for (int round = 0; round < kMaxRounds && largest(off) > kDonePx; ++round) {
            Mat4 slopes{};  // slopes[side][unknown]
            for (std::size_t j = 0; j < 4; ++j) {
                Vec4 moved = box;
                double step = kSlopeStepDeg;
                moved[j] += step;
                Vec4 movedOff{};
                if (!offsets(moved, insideWeight, movedOff)) {
                    step = -step;
                    moved[j] = box[j] + step;
                    if (!offsets(moved, insideWeight, movedOff)) {
                        continue;
                    }
                }
                for (std::size_t i = 0; i < 4; ++i) {
                    slopes[i][j] = (movedOff[i] - off[i]) / step;
                }
            }
            Mat4 normal{};
            Vec4 gradient{};
            for (std::size_t j = 0; j < 4; ++j) {
                for (std::size_t k = 0; k < 4; ++k) {
                    for (std::size_t i = 0; i < 4; ++i) {
                        normal[j][k] += slopes[i][j] * slopes[i][k];
                    }
                }
                for (std::size_t i = 0; i < 4; ++i) {
                    gradient[j] -= slopes[i][j] * off[i];
                }
            }
            bool better = false;
            while (!better && damping < 1e12) {
                Mat4 damped = normal;
                for (std::size_t j = 0; j < 4; ++j) {
                    damped[j][j] += damping * (normal[j][j] + 1e-9);
                }
                Vec4 step{};
                Vec4 next = box;
                Vec4 nextOff{};
                if (solve(damped, gradient, step)) {
                    for (std::size_t j = 0; j < 4; ++j) {
                        next[j] += step[j];
                    }
                    better = offsets(next, insideWeight, nextOff) &&
                             squaredSum(nextOff) < squaredSum(off);
                }
                if (better) {
                    box = next;
                    off = nextOff;
                    damping = std::max(damping / 4.0, 1e-9);
                } else {
                    damping *= 4.0;
                }
            }
            if (!better) {
                break;  // no step brings it nearer
            }
        }
        return std::pair(box, largest(off));
    };

    // From the box of every latitude and longitude the rectangle holds, which shows more than
    // the rectangle. Where no box fits, the nearest keeps what was drawn: a side that falls
    // inside the rectangle then costs as much as one kInsideWeight times as far outside. That
    // weight would slow the search where a box does fit, so it is tried only after.
    const GeoRange range = rangeOfRectangle(map.projection(), extent);
    const Vec4 start = {range.south, range.west, range.north, range.east};
    auto [box, off] = fit(start, 1.0);
    if (off > kFitPx) {
        box = fit(start, kInsideWeight).first;
    }
    return {box[0], box[1], box[2], box[3]};
}

}  // namespace zelkora
