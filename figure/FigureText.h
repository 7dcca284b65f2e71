#pragma once

#include <QFont>
#include <QPointF>
#include <QString>

class QPainter;

namespace zelkora {

// The figure's text: Liberation Sans (metrically Arial, as journals ask), sized in points and
// laid out in millimetres. Fonts are set in hundredths of a millimetre and drawn under a scale
// of 1/100, so their metrics stay exact however small the millimetre is on the device, and text
// stays text in PDF and SVG.
class FigureText {
  public:
    // Loads the font files once; throws ZelkoraError when they are missing. Needs a
    // QGuiApplication.
    static void loadFonts();

    FigureText(double sizePt, bool bold, bool italic);

    const QFont& font() const { return font_; }
    double widthMm(const QString& text) const;
    // The text cut with an ellipsis at its end to fit widthMm.
    QString elided(const QString& text, double widthMm) const;
    double ascentMm() const { return ascentMm_; }
    double descentMm() const { return descentMm_; }
    double heightMm() const { return ascentMm_ + descentMm_; }
    // The height of a capital letter or a digit above the baseline.
    double capHeightMm() const { return capHeightMm_; }

    // Draws text with its baseline starting at baselineLeft, on a painter whose unit is the
    // millimetre.
    void draw(QPainter& painter, QPointF baselineLeft, const QString& text) const;
    // Draws text over a white halo haloMm wide round its letters, so that it reads over the
    // map's lines. The halo is a path; the text stays text.
    void drawHaloed(QPainter& painter, QPointF baselineLeft, const QString& text,
                    double haloMm) const;

  private:
    QFont font_;
    double ascentMm_ = 0.0;
    double descentMm_ = 0.0;
    double capHeightMm_ = 0.0;
};

// Millimetres in a point.
inline constexpr double kMmPerPt = 25.4 / 72.0;

}  // namespace zelkora
