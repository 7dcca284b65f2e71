#include "shell/CopperStyle.h"

#include <QStyleFactory>

namespace zelkora {

namespace {

constexpr int kIndicatorPixels = 13;
constexpr int kLabelSpacing = 3;

}  // namespace

CopperStyle::CopperStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int CopperStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                             const QWidget* widget) const {
    switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
            return kIndicatorPixels;
        case PM_CheckBoxLabelSpacing:
        case PM_RadioButtonLabelSpacing:
            return kLabelSpacing;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

}  // namespace zelkora
