#include "figure/FigureText.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <mutex>

#include "common/ZelkoraError.h"

namespace zelkora {

namespace {

constexpr double kUnitsPerMm = 100.0;
const char* const kFamily = "Liberation Sans";
const char* const kFontFolder = "/usr/share/fonts/truetype/liberation2/";
const char* const kFontFiles[] = {"LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf",
                                  "LiberationSans-Italic.ttf", "LiberationSans-BoldItalic.ttf"};

}  // namespace

void FigureText::loadFonts() {
    static std::once_flag once;
    static QString missing;
    std::call_once(once, [] {
        // Registered by file, so that the figure never gets another family's metrics from the
        // system's substitution rules.
        for (const char* file : kFontFiles) {
            const QString path = QLatin1String(kFontFolder) + QLatin1String(file);
            if (QFontDatabase::addApplicationFont(path) < 0) {
                missing = path;
                return;
            }
        }
    });
    if (!missing.isEmpty()) {
        throw ZelkoraError(QStringLiteral("Нет шрифта для подписей рисунка: файл «%1» не читается "
                                          "(пакет fonts-liberation2)")
                               .arg(missing));
    }
}

FigureText::FigureText(double sizePt, bool bold, bool italic) {
    loadFonts();
    font_ = QFont(QLatin1String(kFamily));
    font_.setPixelSize(static_cast<int>(std::lround(sizePt * kMmPerPt * kUnitsPerMm)));
    font_.setBold(bold);
    font_.setItalic(italic);
    // The same shapes and advances at every resolution.
    font_.setHintingPreference(QFont::PreferNoHinting);
    font_.setStyleStrategy(QFont::PreferOutline);
    const QFontMetricsF metrics(font_);
    ascentMm_ = metrics.ascent() / kUnitsPerMm;
    descentMm_ = metrics.descent() / kUnitsPerMm;
    capHeightMm_ = metrics.capHeight() / kUnitsPerMm;
}

double FigureText::widthMm(const QString& text) const {
    return QFontMetricsF(font_).horizontalAdvance(text) / kUnitsPerMm;
}

QString FigureText::elided(const QString& text, double widthMm) const {
    return QFontMetricsF(font_).elidedText(text, Qt::ElideRight, widthMm * kUnitsPerMm);
}

void FigureText::draw(QPainter& painter, QPointF baselineLeft, const QString& text) const {
    painter.save();
    painter.translate(baselineLeft);
    painter.scale(1.0 / kUnitsPerMm, 1.0 / kUnitsPerMm);
    painter.setFont(font_);
    painter.drawText(QPointF(0, 0), text);
    painter.restore();
}

void FigureText::drawHaloed(QPainter& painter, QPointF baselineLeft, const QString& text,
                            double haloMm) const {
    painter.save();
    painter.translate(baselineLeft);
    painter.scale(1.0 / kUnitsPerMm, 1.0 / kUnitsPerMm);
    QPainterPath outline;
    outline.addText(QPointF(0, 0), font_, text);
    painter.strokePath(outline, QPen(Qt::white, 2 * haloMm * kUnitsPerMm, Qt::SolidLine,
                                     Qt::RoundCap, Qt::RoundJoin));
    painter.setFont(font_);
    painter.drawText(QPointF(0, 0), text);
    painter.restore();
}

}  // namespace zelkora
