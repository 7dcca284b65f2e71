#include "figure/ScaleBar.h"

#include <cmath>

#include "figure/FigureSizes.h"
#include "figure/FigureText.h"
#include "figure/MapScale.h"

namespace zelkora {

namespace {

// The bar is about this share of its frame's width.
constexpr double kFrameShare = 0.25;
constexpr int kTickedSegments = 4;
// Rounds in which the bar's latitude, and so its length, settles.
constexpr int kSettleRounds = 8;
constexpr double kSettledDeg = 1e-9;
// Samples across the frame each way where the scale's variation is looked for.
constexpr int kVariationSamples = 16;

QString kmNumber(double km) {
    return QString::number(km, 'g', 6);
}

QString unit(FigureLanguage language) {
    return language == FigureLanguage::Russian ? QStringLiteral("км") : QStringLiteral("km");
}

}  // namespace

void layOutScaleBar(FigureLayout& layout, int index, FrameCorners& corners) {
    const FigureOptions& options = layout.options;
    if (options.scaleBar == FigureCorner::None) {
        return;
    }
    const FigureText label(options.fontPt, false, false);
    const FigurePanel& panel = layout.panels[static_cast<std::size_t>(index)];
    const QTransform toPlane = layout.mmFromPlane(panel).inverted();
    const FigureProjection& projection = layout.projection;
    FigureScaleBar& bar = layout.scaleBar;
    const bool ticked = options.scaleBarStyle == ScaleBarStyle::Ticked;
    bar.panel = index;
    bar.latitude = projection.toGeo(toPlane.map(panel.frame.center())).lat;
    CornerPlace where;
    double lengthMm = 0.0;
    for (int round = 0; round < kSettleRounds; ++round) {
        const double kmPerMm = projection.kmPerUnit(bar.latitude) / layout.mmPerUnit;
        bar.km = roundScaleKm(panel.frame.width() * kFrameShare * kmPerMm);
        lengthMm = bar.km / kmPerMm;
        bar.label = QStringLiteral("%1 %2").arg(kmNumber(bar.km), unit(options.language));
        // Ticked: "0" centred at the start, the number at the end with its unit after it.
        const double overhangLeft = ticked ? label.widthMm(QStringLiteral("0")) / 2 : 0.0;
        const double overhangRight =
            ticked ? label.widthMm(kmNumber(bar.km)) / 2 +
                         label.widthMm(QLatin1Char(' ') + unit(options.language))
                   : 0.0;
        const double inner = ticked ? lengthMm + overhangLeft + overhangRight
                                    : std::max(lengthMm, label.widthMm(bar.label));
        const QSizeF size(2 * kPadMm + inner,
                          2 * kPadMm + label.heightMm() + kBarLabelGapMm + kBarThicknessMm);
        CornerPlace trial = corners.place(size, options.scaleBar,
                                          {FigureCorner::BottomLeft, FigureCorner::BottomRight,
                                           FigureCorner::TopLeft, FigureCorner::TopRight});
        corners.forget(trial);
        where = trial;
        const double startX = ticked ? where.rect.left() + kPadMm + overhangLeft
                                     : where.rect.center().x() - lengthMm / 2;
        const double barY = where.rect.bottom() - kPadMm - kBarThicknessMm / 2;
        bar.bar = QLineF(startX, barY, startX + lengthMm, barY);
        const double latitude = projection.toGeo(toPlane.map(bar.bar.center())).lat;
        const bool settled = std::fabs(latitude - bar.latitude) < kSettledDeg;
        bar.latitude = latitude;
        if (settled) {
            break;
        }
    }
    corners.keep(where);
    bar.corner = where.corner;
    bar.box = where.rect;
    bar.thicknessMm = kBarThicknessMm;
    bar.coveredPoints = where.covered;
    const double top = bar.bar.y1() - kBarThicknessMm / 2;
    const double labelBaseline = where.rect.top() + kPadMm + label.ascentMm();
    if (ticked) {
        const double segment = lengthMm / kTickedSegments;
        for (int i = 0; i < kTickedSegments; ++i) {
            const QRectF r(QPointF(bar.bar.x1() + i * segment, top),
                           QSizeF(segment, kBarThicknessMm));
            (i % 2 == 0 ? bar.blackSegments : bar.whiteSegments).push_back(r);
        }
        const auto centred = [&](double x, const QString& text) {
            bar.labels.push_back({QPointF(x - label.widthMm(text) / 2, labelBaseline), text});
        };
        centred(bar.bar.x1(), QStringLiteral("0"));
        centred(bar.bar.center().x(), kmNumber(bar.km / 2));
        centred(bar.bar.x2(), kmNumber(bar.km));
        bar.labels.push_back(
            {QPointF(bar.bar.x2() + label.widthMm(kmNumber(bar.km)) / 2, labelBaseline),
             QLatin1Char(' ') + unit(options.language)});
    } else {
        bar.blackSegments.push_back(
            QRectF(QPointF(bar.bar.x1(), top), QSizeF(lengthMm, kBarThicknessMm)));
        bar.labels.push_back(
            {QPointF(bar.bar.center().x() - label.widthMm(bar.label) / 2, labelBaseline),
             bar.label});
    }
    if (where.covered > 0) {
        layout.warnings
            << QStringLiteral("Масштабная линейка закрывает точек: %1").arg(where.covered);
    }
    double kMin = INFINITY;
    double kMax = 0.0;
    for (int i = 0; i <= kVariationSamples; ++i) {
        for (int j = 0; j <= kVariationSamples; ++j) {
            const QPointF plane(
                layout.extent.left() + layout.extent.width() * i / kVariationSamples,
                layout.extent.top() + layout.extent.height() * j / kVariationSamples);
            const double k = projection.scaleFactor(projection.toGeo(plane).lat);
            kMin = std::min(kMin, k);
            kMax = std::max(kMax, k);
        }
    }
    bar.variationPercent = (kMax - kMin) / projection.scaleFactor(bar.latitude) * 100.0;
}

}  // namespace zelkora
