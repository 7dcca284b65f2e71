#include "figure/Graticule.h"

#include <cmath>

namespace zelkora {

namespace {

constexpr int kMinutesPerDegree = 60;
// Points along a parallel per interval and across the range, whichever is closer, so that its
// arc stays smooth at print size. Meridians of a conic are straight.
constexpr int kStepsPerInterval = 40;
constexpr int kStepsPerRange = 256;
constexpr int kMeridianSteps = 8;

QString degrees(double value, bool minutes, const char* positive, const char* negative,
                const char* positiveRu, const char* negativeRu, FigureLanguage language) {
    const long totalMinutes = std::lround(std::fabs(value) * kMinutesPerDegree);
    const bool ru = language == FigureLanguage::Russian;
    const char* letters = value > 0 ? (ru ? positiveRu : positive) : (ru ? negativeRu : negative);
    QString text = QStringLiteral("%1°").arg(totalMinutes / kMinutesPerDegree);
    if (minutes) {
        text +=
            QStringLiteral("%1′").arg(totalMinutes % kMinutesPerDegree, 2, 10, QLatin1Char('0'));
    }
    if (totalMinutes == 0) {
        return text;
    }
    return text + (ru ? QStringLiteral(" ") : QString()) + QString::fromUtf8(letters);
}

}  // namespace

QString latitudeLabel(double latDeg, FigureLanguage language, bool minutes) {
    return degrees(latDeg, minutes, "N", "S", "с.ш.", "ю.ш.", language);
}

QString longitudeLabel(double lonDeg, FigureLanguage language, bool minutes) {
    double lon = std::fmod(lonDeg, 360.0);
    if (lon > 180.0) {
        lon -= 360.0;
    } else if (lon <= -180.0) {
        lon += 360.0;
    }
    if (std::lround(std::fabs(lon) * kMinutesPerDegree) == 180 * kMinutesPerDegree) {
        return minutes ? QStringLiteral("180°00′") : QStringLiteral("180°");
    }
    return degrees(lon, minutes, "E", "W", "в.д.", "з.д.", language);
}

std::vector<GraticuleLine> graticuleLines(const FigureProjection& projection, const GeoRange& range,
                                          int latitudeMinutes, int longitudeMinutes) {
    std::vector<GraticuleLine> lines;
    const double latStep = latitudeMinutes / static_cast<double>(kMinutesPerDegree);
    const double lonStep = longitudeMinutes / static_cast<double>(kMinutesPerDegree);
    const double south = std::max(-89.0, range.south - latStep);
    const double north = std::min(89.0, range.north + latStep);
    const double west = range.west - lonStep;
    const double east = range.east + lonStep;
    const auto sampled = [&](double from, double to, double step, auto point) {
        QPolygonF plane;
        const int count = static_cast<int>(std::ceil((to - from) / step));
        for (int i = 0; i <= count; ++i) {
            plane << projection.toPlane(point(std::min(to, from + i * step)));
        }
        return plane;
    };
    // Counted in whole intervals, so that no sum of steps drifts off a round value.
    for (long k = std::lround(std::ceil(west / lonStep)); k * lonStep <= east; ++k) {
        const double lon = k * lonStep;
        lines.push_back({sampled(south, north, (north - south) / kMeridianSteps,
                                 [&](double lat) {
                                     return GeoPoint{lat, lon};
                                 }),
                         true, lon});
    }
    for (long k = std::lround(std::ceil(south / latStep)); k * latStep <= north; ++k) {
        const double lat = k * latStep;
        lines.push_back(
            {sampled(west, east,
                     std::min(lonStep / kStepsPerInterval, (east - west) / kStepsPerRange),
                     [&](double lon) {
                         return GeoPoint{lat, lon};
                     }),
             false, lat});
    }
    return lines;
}

}  // namespace zelkora
