#include "figure/Inset.h"

#include <algorithm>

#include "figure/Extent.h"
#include "figure/FigureSizes.h"

namespace zelkora {

namespace {

// The inset's width in parts of its frame's, within these bounds; its height at most this part
// of the frame's.
constexpr double kWidthShare = 0.3;
constexpr double kMinWidthMm = 15.0;
constexpr double kMaxWidthMm = 45.0;
constexpr double kMaxHeightShare = 0.45;

}  // namespace

QTransform FigureInset::mmFromPlane() const {
    return QTransform::fromTranslate(-extent.left(), -extent.top()) *
           QTransform::fromScale(mmPerUnit, mmPerUnit) *
           QTransform::fromTranslate(box.left(), box.top());
}

void layOutInset(FigureLayout& layout, const FigureMap& map, FrameCorners& corners) {
    if (layout.options.inset == FigureCorner::None) {
        return;
    }
    const FigurePanel& panel = layout.panels.front();
    const FrameExtent region = layout.projection.isNorthUp()
                                   ? northUpFrame(map.pictureBox())
                                   : mapFrame(map, QRectF(QPointF(0, 0), QSizeF(map.size())));
    const double aspect = region.extent.height() / region.extent.width();
    double width = std::clamp(panel.frame.width() * kWidthShare, kMinWidthMm, kMaxWidthMm);
    if (width * aspect > panel.frame.height() * kMaxHeightShare) {
        width = panel.frame.height() * kMaxHeightShare / aspect;
    }
    const CornerPlace place = corners.place(QSizeF(width, width * aspect), layout.options.inset,
                                            {FigureCorner::BottomRight, FigureCorner::TopRight,
                                             FigureCorner::BottomLeft, FigureCorner::TopLeft});
    FigureInset& inset = layout.inset;
    inset.corner = place.corner;
    inset.panel = 0;
    inset.box = place.rect;
    inset.projection = region.projection;
    inset.region = region.box;
    inset.extent = region.extent;
    inset.outline = region.outline;
    inset.mmPerUnit = width / region.extent.width();
    inset.figure.clear();
    for (const QPointF& p : layout.outline) {
        inset.figure << inset.projection.toPlane(layout.projection.toGeo(p));
    }
}

}  // namespace zelkora
