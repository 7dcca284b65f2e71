#pragma once

#include <QRectF>

class QPainter;

namespace zelkora {

class FigureMap;
struct FigureLayout;

// Draws a laid-out figure: on a painter whose unit is the millimetre with the page's top left at
// the origin, whatever the device (a raster, QPdfWriter, QSvgGenerator). deviceMm is the size of
// one device pixel in millimetres, to which lines are thinned; 0 for vector output, which keeps
// every point that can be told apart at any zoom a reader uses. Only what meets visibleMm is
// drawn (a band of a raster drawn in parts); an empty rectangle stands for the whole page.
void paintFigure(QPainter& painter, const FigureLayout& layout, const FigureMap& map,
                 double deviceMm, const QRectF& visibleMm = QRectF());

}  // namespace zelkora
