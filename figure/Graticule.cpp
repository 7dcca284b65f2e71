#include "figure/Graticule.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zelkora {

namespace {

constexpr int kMaxLines = 8;
// Points along each side of the extent where the range is looked for.
constexpr int kSamplesPerSide = 64;
// Sine of the smallest angle between a line and a side at which the crossing is labelled.
const double kSteepEnough = std::sin(40.0 * std::numbers::pi / 180.0);

QString degrees(double value, const char* positive, const char* negative, const char* positiveRu,
                const char* negativeRu, FigureLanguage language) {
    const long whole = std::lround(std::fabs(value));
    if (whole == 0) {
        return QStringLiteral("0°");
    }
    const bool ru = language == FigureLanguage::Russian;
    const char* letters = value > 0 ? (ru ? positiveRu : positive) : (ru ? negativeRu : negative);
    return QStringLiteral("%1°%2%3")
        .arg(whole)
        .arg(ru ? QStringLiteral(" ") : QString())
        .arg(QString::fromUtf8(letters));
}

}  // namespace

QString latitudeLabel(double latDeg, FigureLanguage language) {
    return degrees(latDeg, "N", "S", "с.ш.", "ю.ш.", language);
}

QString longitudeLabel(double lonDeg, FigureLanguage language) {
    double lon = std::fmod(lonDeg, 360.0);
    if (lon > 180.0) {
        lon -= 360.0;
    } else if (lon <= -180.0) {
        lon += 360.0;
    }
    if (std::lround(std::fabs(lon)) == 180) {
        return QStringLiteral("180°");
    }
    return degrees(lon, "E", "W", "в.д.", "з.д.", language);
}

GeoRange geoRangeOf(const FigureMap& map, const QRectF& extent) {
    GeoRange range{90.0, -90.0, 1e9, -1e9};
    const QPointF corners[4] = {extent.topLeft(), extent.topRight(), extent.bottomRight(),
                                extent.bottomLeft()};
    for (int side = 0; side < 4; ++side) {
        const QPointF a = corners[side];
        const QPointF b = corners[(side + 1) % 4];
        for (int i = 0; i < kSamplesPerSide; ++i) {
            const GeoPoint p = map.toGeo(a + (b - a) * (static_cast<double>(i) / kSamplesPerSide));
            range.south = std::min(range.south, p.lat);
            range.north = std::max(range.north, p.lat);
            range.west = std::min(range.west, p.lon);
            range.east = std::max(range.east, p.lon);
        }
    }
    return range;
}

int graticuleInterval(const GeoRange& range) {
    for (const int interval : {1, 2, 5}) {
        if ((range.north - range.south) / interval <= kMaxLines &&
            (range.east - range.west) / interval <= kMaxLines) {
            return interval;
        }
    }
    return 10;
}

std::vector<GraticuleLine> graticuleLines(const FigureMap& map, const GeoRange& range,
                                          int interval) {
    std::vector<GraticuleLine> lines;
    const double south = std::max(-89.0, range.south - interval);
    const double north = std::min(89.0, range.north + interval);
    const double west = range.west - interval;
    const double east = range.east + interval;
    // Fine enough that the parallels' arcs stay smooth at print size.
    const double step = interval / 40.0;
    const auto sampled = [&](double from, double to, auto point) {
        QPolygonF pixels;
        const int count = static_cast<int>(std::ceil((to - from) / step));
        for (int i = 0; i <= count; ++i) {
            pixels << map.toPixel(point(std::min(to, from + i * step)));
        }
        return pixels;
    };
    for (double lon = std::ceil(west / interval) * interval; lon <= east; lon += interval) {
        lines.push_back({sampled(south, north,
                                 [&](double lat) {
                                     return GeoPoint{lat, lon};
                                 }),
                         true, lon});
    }
    for (double lat = std::ceil(south / interval) * interval; lat <= north; lat += interval) {
        lines.push_back({sampled(west, east,
                                 [&](double lon) {
                                     return GeoPoint{lat, lon};
                                 }),
                         false, lat});
    }
    return lines;
}

std::vector<FrameCrossing> frameCrossings(const std::vector<GraticuleLine>& lines,
                                          const QRectF& extent, FigureLanguage language) {
    std::vector<FrameCrossing> crossings;
    for (const GraticuleLine& line : lines) {
        const QString text = line.meridian ? longitudeLabel(line.degrees, language)
                                           : latitudeLabel(line.degrees, language);
        for (qsizetype i = 1; i < line.pixels.size(); ++i) {
            const QPointF a = line.pixels[i - 1];
            const QPointF b = line.pixels[i];
            const QPointF d = b - a;
            const double length = std::hypot(d.x(), d.y());
            if (length == 0.0) {
                continue;
            }
            // The left side: x = extent.left(), between top and bottom.
            if ((a.x() - extent.left()) * (b.x() - extent.left()) < 0 &&
                std::fabs(d.x()) / length >= kSteepEnough) {
                const double t = (extent.left() - a.x()) / d.x();
                const QPointF p = a + d * t;
                if (p.y() >= extent.top() && p.y() <= extent.bottom()) {
                    crossings.push_back({p, true, text});
                }
            }
            // The bottom side: y = extent.bottom(), between left and right.
            if ((a.y() - extent.bottom()) * (b.y() - extent.bottom()) < 0 &&
                std::fabs(d.y()) / length >= kSteepEnough) {
                const double t = (extent.bottom() - a.y()) / d.y();
                const QPointF p = a + d * t;
                if (p.x() >= extent.left() && p.x() <= extent.right()) {
                    crossings.push_back({p, false, text});
                }
            }
        }
    }
    return crossings;
}

}  // namespace zelkora
