#include "figure/FigureOptions.h"

#include <QFileInfo>
#include <QStringList>
#include <cmath>

#include "common/VisibleText.h"
#include "common/ZelkoraError.h"

namespace zelkora {

const std::vector<FigurePreset>& figurePresets() {
    // Nature: 89, 120 and 183 mm wide, at most 247 mm deep. PLOS: TIFF at 300 dpi, 789 to 2250
    // px wide and at most 2625 px high. Elsevier: 90, 140 and 190 mm at 500 dpi for combination
    // art (halftone and lines).
    static const std::vector<FigurePreset> presets = {
        {"nature-1", 89.0, 600.0, 247.0, 0, 0, 0},
        {"nature-1.5", 120.0, 600.0, 247.0, 0, 0, 0},
        {"nature-2", 183.0, 600.0, 247.0, 0, 0, 0},
        {"plos", 2250 * 25.4 / 300.0, 300.0, 0.0, 2250, 2625, 789},
        {"elsevier-1", 90.0, 500.0, 0.0, 0, 0, 0},
        {"elsevier-1.5", 140.0, 500.0, 0.0, 0, 0, 0},
        {"elsevier-2", 190.0, 500.0, 0.0, 0, 0, 0},
    };
    return presets;
}

const FigurePreset* findFigurePreset(const QString& name) {
    for (const FigurePreset& preset : figurePresets()) {
        if (name == QLatin1String(preset.name)) {
            return &preset;
        }
    }
    return nullptr;
}

void applyFigurePreset(FigureOptions& options, const QString& name) {
    const FigurePreset* preset = findFigurePreset(name);
    if (!preset) {
        QStringList names;
        for (const FigurePreset& p : figurePresets()) {
            names << QLatin1String(p.name);
        }
        throw ZelkoraError(QStringLiteral("Нет заготовки размера \"%1\"; есть: %2")
                               .arg(visibleText(name), names.join(QStringLiteral(", "))));
    }
    options.preset = name;
    options.widthMm = preset->widthMm;
    options.dpi = preset->dpi;
    options.maxHeightMm = preset->maxHeightMm;
    options.maxWidthPx = preset->maxWidthPx;
    options.maxHeightPx = preset->maxHeightPx;
    options.minWidthPx = preset->minWidthPx;
}

namespace {

void checkRange(double value, double min, double max, const QString& what, const QString& unit) {
    if (!std::isfinite(value) || value < min || value > max) {
        throw ZelkoraError(
            QStringLiteral("%1: %2 вне пределов, нужно от %3 до %4 %5")
                .arg(what, QString::number(value), QString::number(min), QString::number(max), unit)
                .trimmed());
    }
}

}  // namespace

void checkFigureOptions(const FigureOptions& options) {
    if (options.map < 0 || options.map >= kMapCount) {
        throw ZelkoraError(QStringLiteral("Нет карты с номером %1").arg(options.map));
    }
    checkRange(options.widthMm, 20.0, 500.0, QStringLiteral("Ширина рисунка"),
               QStringLiteral("мм"));
    checkRange(options.dpi, 72.0, 2400.0, QStringLiteral("Разрешение"), QStringLiteral("dpi"));
    checkRange(options.markerMm, 0.5, 20.0, QStringLiteral("Размер значков"), QStringLiteral("мм"));
    checkRange(options.fontPt, 4.0, 24.0, QStringLiteral("Размер шрифта"), QStringLiteral("пт"));
    checkRange(options.marginPercent, 0.0, 100.0, QStringLiteral("Поле вокруг точек"),
               QStringLiteral("%"));
    if (options.graticuleMinutes != kAutoGraticule) {
        checkRange(options.graticuleMinutes, 1, 30 * 60, QStringLiteral("Шаг сетки"),
                   QStringLiteral("′"));
    }
    if (options.extent == FigureExtent::Box) {
        const DegreeBox& b = options.box;
        checkRange(b.south, -90.0, 90.0, QStringLiteral("Южная граница"), QStringLiteral("°"));
        checkRange(b.north, -90.0, 90.0, QStringLiteral("Северная граница"), QStringLiteral("°"));
        checkRange(b.west, -360.0, 360.0, QStringLiteral("Западная граница"), QStringLiteral("°"));
        checkRange(b.east, -360.0, 360.0, QStringLiteral("Восточная граница"), QStringLiteral("°"));
        if (!(b.south < b.north) || !(b.west < b.east) || b.east - b.west > 360.0) {
            throw ZelkoraError(QStringLiteral(
                "Границы рамки: юг должен быть меньше севера, а запад меньше востока (не больше "
                "чем на 360°)"));
        }
    }
}

std::optional<FigureFormat> figureFormatFromName(const QString& name) {
    const QString n = name.toLower();
    if (n == QLatin1String("tiff") || n == QLatin1String("tif")) {
        return FigureFormat::Tiff;
    }
    if (n == QLatin1String("png")) {
        return FigureFormat::Png;
    }
    if (n == QLatin1String("jpeg") || n == QLatin1String("jpg")) {
        return FigureFormat::Jpeg;
    }
    if (n == QLatin1String("pdf")) {
        return FigureFormat::Pdf;
    }
    if (n == QLatin1String("svg")) {
        return FigureFormat::Svg;
    }
    return std::nullopt;
}

std::optional<FigureFormat> figureFormatFromExtension(const QString& fileName) {
    return figureFormatFromName(QFileInfo(fileName).suffix());
}

QString figureFormatName(FigureFormat format) {
    switch (format) {
        case FigureFormat::Tiff:
            return QStringLiteral("tiff");
        case FigureFormat::Png:
            return QStringLiteral("png");
        case FigureFormat::Jpeg:
            return QStringLiteral("jpeg");
        case FigureFormat::Pdf:
            return QStringLiteral("pdf");
        case FigureFormat::Svg:
            return QStringLiteral("svg");
    }
    return {};
}

int pixelsForMm(double mm, double dpi) {
    return static_cast<int>(std::lround(mm / 25.4 * dpi));
}

}  // namespace zelkora
