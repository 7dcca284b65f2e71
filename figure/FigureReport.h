#pragma once

#include <QJsonObject>

namespace zelkora {

class FigureMap;
struct FigureLayout;

// A summary of a laid-out figure: its size in pixels and millimetres and its dpi, the extent's
// corners in degrees, the scale bar (kilometres, length in pixels, the latitude where it is true,
// how much the scale varies across the frame), the legend's entries, and the points drawn and
// those left out with the reason; with names, those written and those left out with the reason;
// with numbers, the key.
QJsonObject figureReport(const FigureLayout& layout, const FigureMap& map);

}  // namespace zelkora
