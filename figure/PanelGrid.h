#pragma once

#include <vector>

#include "figure/Extent.h"
#include "figure/FigureLayout.h"
#include "figure/FrameAnnotation.h"

namespace zelkora {

// The panels of a figure: how many across, the frame every panel shows and the page they make.
struct PanelGrid {
    FrameExtent frame;
    int columns = 1;
    int rows = 1;
    double boxWidthMm = 0.0;  // a panel with its labels
    double frameWidthMm = 0.0;
    double frameHeightMm = 0.0;
    double pageHeightMm = 0.0;
};

// The room around each panel: its labels' and, with panels, its title's.
struct PanelRoom {
    FrameRoom labels;
    double title = 0.0;
};

// The grid for panelCount panels on a page widthMm wide: the fewest rows whose page is no deeper
// than the preset allows (or than a page of A4's proportions), else the shallowest. The frame
// follows the options: fixed, or fitted to the points for each grid's frame width. Throws
// ZelkoraError when the width leaves no room for a frame.
PanelGrid choosePanelGrid(const FigureOptions& options, const FigureMap& map,
                          const std::vector<GeoPoint>& points, int panelCount,
                          const PanelRoom& room, double widthMm, double markerHalfMm);

// The layout's panels laid out on the grid, with their letters and titles when the figure has
// panels: one per column given.
void setPanels(FigureLayout& layout, const PanelGrid& grid, const PanelRoom& room,
               const std::vector<int>& columns, const PointTable& table);

}  // namespace zelkora
