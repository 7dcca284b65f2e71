#pragma once

#include <QProxyStyle>

namespace zelkora {

// Fusion with the compact check boxes and radio buttons of the layout: a 13-pixel indicator
// with the caption 3 pixels beside it, so that "Реки" fits its 35-pixel box.
class CopperStyle : public QProxyStyle {
  public:
    CopperStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};

}  // namespace zelkora
