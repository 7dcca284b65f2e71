#pragma once

#include <QImage>
#include <QPainterPath>

namespace zelkora {

// The marker icons, one per marker type in table-column order: filled and hollow circle,
// triangle, square and diamond, then a filled star. Dark shapes on transparency, so a red marker
// (which keeps the map's red and blends the icon's green and blue) shows red on light map areas.
class IconPainter {
  public:
    static constexpr int kIconCount = 9;
    static constexpr int kIconSize = 128;
    static constexpr QRgb kInk = qRgb(24, 24, 24);

    // The marker's outline in the kIconSize box, as icon() fills it; throws for a type that is
    // not 0 to 8.
    static QPainterPath shape(int type);
    // 8-bit RGBA icon for a marker type 0 to 8; throws for any other type.
    static QImage icon(int type);
};

}  // namespace zelkora
