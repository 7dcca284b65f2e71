#include "figure/PanelGrid.h"

#include <algorithm>
#include <cmath>

#include "common/ZelkoraError.h"
#include "figure/FigureSizes.h"
#include "figure/FigureText.h"
#include "figure/Legend.h"

namespace zelkora {

namespace {

// A figure fitted to points is at most twice as high as wide.
constexpr double kMaxFitAspect = 2.0;
// The narrowest panel frame the grid of panels may make.
constexpr double kMinFrameMm = 20.0;
// Without a preset's limit the page is kept within A4's proportions.
const double kDefaultDepthPerWidth = std::sqrt(2.0);
// The title's marker sits this part of the bold letters' ascent above the baseline.
constexpr double kTitleMarkerRise = 0.36;

}  // namespace

PanelGrid choosePanelGrid(const FigureOptions& options, const FigureMap& map,
                          const std::vector<GeoPoint>& points, int panelCount,
                          const PanelRoom& room, double widthMm, double markerHalfMm) {
    const double depthTarget =
        options.maxHeightMm > 0 ? options.maxHeightMm : widthMm * kDefaultDepthPerWidth;
    const FrameRoom& labels = room.labels;
    std::optional<FrameExtent> fixed;
    if (options.extent != FigureExtent::Points) {
        fixed = fixedExtent(options, map);
    }
    std::vector<PanelGrid> grids;
    for (int c = 1; c <= panelCount; ++c) {
        PanelGrid g;
        g.columns = c;
        g.rows = (panelCount + c - 1) / c;
        g.boxWidthMm = (widthMm - (c - 1) * kPanelGapMm) / c;
        g.frameWidthMm = g.boxWidthMm - labels.left - labels.right;
        if (g.frameWidthMm < kMinFrameMm && c > 1) {
            break;
        }
        if (g.frameWidthMm <= 0) {
            throw ZelkoraError(QStringLiteral("Ширина %1 мм слишком мала для рисунка")
                                   .arg(QString::number(widthMm, 'g', 6)));
        }
        const double around =
            g.rows * (room.title + labels.top + labels.bottom) + (g.rows - 1) * kPanelGapMm;
        if (fixed) {
            g.frame = *fixed;
        } else {
            double maxAspect = kMaxFitAspect;
            if (options.maxHeightMm > 0) {
                maxAspect =
                    std::min(maxAspect, (options.maxHeightMm - around) / g.rows / g.frameWidthMm);
            }
            g.frame = fittedExtent(options, map, points, g.frameWidthMm, maxAspect, markerHalfMm);
        }
        g.frameHeightMm = g.frameWidthMm * g.frame.extent.height() / g.frame.extent.width();
        g.pageHeightMm = g.rows * g.frameHeightMm + around;
        grids.push_back(g);
    }
    for (const PanelGrid& g : grids) {
        if (g.pageHeightMm <= depthTarget + 1e-9) {
            return g;
        }
    }
    return *std::min_element(grids.begin(), grids.end(), [](const auto& a, const auto& b) {
        return a.pageHeightMm < b.pageHeightMm;
    });
}

void setPanels(FigureLayout& layout, const PanelGrid& grid, const PanelRoom& room,
               const std::vector<int>& columns, const PointTable& table) {
    const FigureOptions& options = layout.options;
    const FigureText bold(options.fontPt, true, false);
    const FigureText species(options.fontPt, false, options.italic);
    const FigureText upright(options.fontPt, false, false);
    const FrameRoom& labels = room.labels;
    const int count = options.panels ? static_cast<int>(columns.size()) : 1;
    layout.panels.clear();
    for (int i = 0; i < count; ++i) {
        FigurePanel panel;
        const double boxLeft = (i % grid.columns) * (grid.boxWidthMm + kPanelGapMm);
        const double boxTop = (i / grid.columns) * (room.title + labels.top + grid.frameHeightMm +
                                                    labels.bottom + kPanelGapMm);
        panel.frame = QRectF(boxLeft + labels.left, boxTop + room.title + labels.top,
                             grid.frameWidthMm, grid.frameHeightMm);
        if (options.panels) {
            panel.column = columns[static_cast<std::size_t>(i)];
            panel.letter = QString(QChar(u'a' + i));
            const double baseline = boxTop + room.title - kTitleGapMm - bold.descentMm();
            panel.letterBaseline = QPointF(panel.frame.left(), baseline);
            const double markerX = panel.frame.left() + bold.widthMm(panel.letter) + kMarkerGapMm +
                                   options.markerMm / 2;
            panel.titleMarker = QPointF(markerX, baseline - bold.ascentMm() * kTitleMarkerRise);
            panel.titleBaseline = QPointF(markerX + options.markerMm / 2 + kMarkerGapMm, baseline);
            const ColumnName name = columnName(table, panel.column, options.language);
            panel.titleItalic = options.italic && name.typed;
            panel.title = (panel.titleItalic ? species : upright)
                              .elided(name.text, panel.frame.right() - panel.titleBaseline.x());
        }
        layout.panels.push_back(panel);
    }
    for (FigurePanel& panel : layout.panels) {
        panel.outline = layout.mmFromPlane(panel).map(layout.outline);
    }
}

}  // namespace zelkora
