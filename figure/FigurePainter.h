#pragma once

#include <QRectF>

#include "figure/FigureMap.h"

class QPainter;

namespace zelkora {

struct FigureLayout;

// The map's geometry of a laid-out figure, projected and simplified once for an output: for its
// frame and for its inset.
struct FigureScene {
    FigureMap::Projected frame;
    FigureMap::Projected inset;
    double toleranceMm = 0.0;  // the finest detail kept, on the page
};

// deviceMm is the size of one device pixel in millimetres, 0 for vector output. Lines keep no
// detail finer than kDetailMm, nor than about a third of a device pixel.
FigureScene prepareFigureScene(const FigureLayout& layout, const FigureMap& map, double deviceMm);

// Draws a laid-out figure: on a painter whose unit is the millimetre with the page's top left at
// the origin, whatever the device (a raster, QPdfWriter, QSvgGenerator). Only what meets
// visibleMm is drawn (a band of a raster drawn in parts); an empty rectangle stands for the whole
// page.
void paintFigure(QPainter& painter, const FigureLayout& layout, const FigureMap& map,
                 const FigureScene& scene, double deviceMm, const QRectF& visibleMm = QRectF());

}  // namespace zelkora
