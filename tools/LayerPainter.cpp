#include "tools/LayerPainter.h"

#include <QPainter>
#include <QPolygonF>
#include <cmath>

namespace zelkora {

LayerPainter::LayerPainter(const MapFrame& frame)
    : frame_(frame), coverage_(frame.size(), QImage::Format_ARGB32_Premultiplied) {
    coverage_.fill(Qt::transparent);
}

void LayerPainter::draw(const std::vector<GeoPolyline>& lines, double width, Qt::PenStyle style) {
    const QRectF visible = QRectF(QPointF(0, 0), QSizeF(frame_.size())).adjusted(-20, -20, 20, 20);
    QPainter painter(&coverage_);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(Qt::black, width * frame_.scale(), style, Qt::RoundCap, Qt::RoundJoin);
    if (style == Qt::CustomDashLine) {
        pen.setDashPattern({5, 3});
    }
    painter.setPen(pen);

    QPolygonF run;
    auto flush = [&] {
        if (run.size() >= 2 && run.boundingRect().intersects(visible)) {
            painter.drawPolyline(run);
        }
        run.clear();
    };
    for (const GeoPolyline& line : lines) {
        double previousLon = 0.0;
        for (const GeoPoint& p : line.points) {
            const double lon = frame_.wrapped(p.lon);
            // A step of more than half a turn after wrapping crosses the map's back meridian.
            if (!run.isEmpty() && std::fabs(lon - previousLon) > 180.0) {
                flush();
            }
            run << frame_.toPixel(p);
            previousLon = lon;
        }
        flush();
    }
}

QImage LayerPainter::image(QColor colour) const {
    QImage out(coverage_.size(), QImage::Format_ARGB32);
    const QRgb rgb = colour.rgb();
    for (int y = 0; y < out.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(coverage_.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            dst[x] = qRgba(qRed(rgb), qGreen(rgb), qBlue(rgb), qAlpha(src[x]));
        }
    }
    return out;
}

}  // namespace zelkora
