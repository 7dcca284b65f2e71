#include "tools/IconPainter.h"

#include <QPainter>
#include <QPainterPath>

namespace zelkora {

QImage IconPainter::icon(int type) {
    const QPainterPath outline = markerShape(type);
    QImage img(kIconSize, kIconSize, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter painter(&img);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(kInk));
    painter.drawPath(outline);
    painter.end();

    // One ink colour throughout; antialiasing lives in alpha alone.
    QImage out(img.size(), QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            dst[x] = qRgba(qRed(kInk), qGreen(kInk), qBlue(kInk), qAlpha(src[x]));
        }
    }
    return out;
}

}  // namespace zelkora
