#include "tools/AppIconPainter.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <QTransform>

#include "plot/MarkerShape.h"
#include "vectormap/MapPalette.h"

namespace zelkora {

namespace {

// The icon's own frame; the rest are the maps' colours.
const QColor kFrame(0x5E, 0x73, 0x86);

QPainterPath tile() {
    QPainterPath path;
    path.addRoundedRect(QRectF(12, 12, 232, 232), 36, 36);
    return path;
}

// A line as the outline of its stroke, cut to the tile, so that every layer is a plain fill.
QPainterPath stroked(const QPainterPath& line, double width) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(line).intersected(tile());
}

// Marker `type` with its centre at `centre`, `size` units across.
QPainterPath marker(int type, QPointF centre, double size) {
    const double scale = size / kMarkerBox;
    QTransform t;
    t.translate(centre.x() - size / 2, centre.y() - size / 2);
    t.scale(scale, scale);
    return t.map(markerShape(type));
}

QString number(double v) {
    QString text = QString::number(v, 'f', 2);
    while (text.endsWith(QLatin1Char('0'))) {
        text.chop(1);
    }
    if (text.endsWith(QLatin1Char('.'))) {
        text.chop(1);
    }
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString svgPathData(const QPainterPath& path) {
    QStringList words;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            if (i > 0) {
                words << QStringLiteral("Z");
            }
            words << QStringLiteral("M") << number(e.x) << number(e.y);
        } else if (e.isLineTo()) {
            words << QStringLiteral("L") << number(e.x) << number(e.y);
        } else if (e.isCurveTo()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            words << QStringLiteral("C") << number(e.x) << number(e.y) << number(c2.x)
                  << number(c2.y) << number(end.x) << number(end.y);
            i += 2;
        }
    }
    words << QStringLiteral("Z");
    return words.join(QLatin1Char(' '));
}

}  // namespace

std::vector<AppIconPainter::Layer> AppIconPainter::layers() {
    const QPainterPath frame = tile();

    QPainterPath coastline;
    coastline.moveTo(150, 0);
    coastline.cubicTo(138, 52, 196, 70, 186, 116);
    coastline.cubicTo(176, 160, 222, 170, 256, 196);
    QPainterPath land = coastline;
    land.lineTo(256, 256);
    land.lineTo(0, 256);
    land.lineTo(0, 0);
    land.closeSubpath();

    // A parallel and a meridian of a conic map: an arc about a far pole, a line towards it.
    QPainterPath parallel;
    parallel.moveTo(0, 170);
    parallel.quadTo(128, 128, 256, 170);
    QPainterPath meridian;
    meridian.moveTo(96, 0);
    meridian.lineTo(118, 256);

    QPainterPath river;
    river.moveTo(40, 240);
    river.cubicTo(70, 200, 120, 224, 150, 186);
    river.cubicTo(170, 160, 190, 168, 199, 150);

    QPainterPath border;
    border.addPath(frame);
    QPainterPath inner;
    inner.addRoundedRect(QRectF(16, 16, 224, 224), 32, 32);
    border = border.subtracted(inner);

    const QColor ink = QColor(kMarkerInk);
    return {
        {frame, kMapSea},
        {land.intersected(frame), kMapLand},
        {stroked(parallel, 3), kMapGraticule},
        {stroked(meridian, 3), kMapGraticule},
        {stroked(river, 5), kMapRiver},
        {stroked(coastline, 6), kMapShore},
        {border, kFrame},
        {marker(0, QPointF(64, 78), 70), ink},    // filled circle
        {marker(3, QPointF(100, 176), 76), ink},  // hollow triangle
        {marker(8, QPointF(184, 186), 80),
         QColor(kMarkerRed)},  // star, as "Красные точки" draws it
    };
}

QString AppIconPainter::svg() {
    QString out = QStringLiteral(
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<!-- Drawn by tools/zelkora-appicon; edit tools/AppIconPainter.cpp, not "
                      "this file. -->\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                      "viewBox=\"0 0 %1 %1\">\n"
                      "<title>Zelkora</title>\n")
                      .arg(kBox);
    for (const Layer& layer : layers()) {
        out += QStringLiteral("<path fill=\"%1\" fill-rule=\"%2\" d=\"%3\"/>\n")
                   .arg(layer.colour.name(),
                        layer.path.fillRule() == Qt::OddEvenFill ? QStringLiteral("evenodd")
                                                                 : QStringLiteral("nonzero"),
                        svgPathData(layer.path));
    }
    out += QStringLiteral("</svg>\n");
    return out;
}

QImage AppIconPainter::png(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.scale(static_cast<double>(size) / kBox, static_cast<double>(size) / kBox);
    for (const Layer& layer : layers()) {
        painter.fillPath(layer.path, layer.colour);
    }
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace zelkora
