#pragma once

#include <QImage>
#include <QString>

namespace zelkora {

class FigureMap;
struct FigureLayout;

// The figure as a raster at a resolution: white, 8-bit RGB (QImage::Format_RGB32), with the
// resolution in its dots per metre. The layout's own dpi gives the picture the raster formats
// write; a lower one gives a preview.
QImage renderFigure(const FigureLayout& layout, const FigureMap& map, double dpi);

// Writes the figure to fileName in the layout's format: TIFF, PNG and JPEG drawn at its dpi, PDF
// and SVG drawn as vectors on a page of its size in millimetres. The file appears only when
// complete (common/AtomicFile); failures throw ZelkoraError as savePictureFile
// (mapimage/PictureFile.h) words them, and a raster too large to hold is refused before
// anything is drawn.
void writeFigure(const FigureLayout& layout, const FigureMap& map, const QString& fileName);

}  // namespace zelkora
