#include "figure/Legend.h"

#include <algorithm>
#include <array>

#include "figure/FigureSizes.h"
#include "table/HeaderRow.h"
#include "table/PointTable.h"

namespace zelkora {

namespace {

constexpr std::array<const char*, 9> kEnglishTypeNames = {
    "filled circles",   "hollow circles",  "filled triangles",
    "hollow triangles", "filled squares",  "hollow squares",
    "filled diamonds",  "hollow diamonds", "stars"};

QString russianTypeName(int column) {
    const std::u16string_view name = kMarkerTypeNames[static_cast<std::size_t>(column)];
    QString text = QString::fromUtf16(name.data(), static_cast<qsizetype>(name.size())).trimmed();
    while (text.endsWith(QLatin1Char('.'))) {
        text.chop(1);
    }
    return text;
}

}  // namespace

QString markerTypeName(int column, FigureLanguage language) {
    if (column < 0 || column >= static_cast<int>(kMarkerTypeNames.size())) {
        return {};
    }
    return language == FigureLanguage::Russian
               ? russianTypeName(column)
               : QString::fromLatin1(kEnglishTypeNames[static_cast<std::size_t>(column)]);
}

ColumnName columnName(const PointTable& table, int column, FigureLanguage language) {
    const QString text = table.cell(column, 0).trimmed();
    const bool isDefault =
        text.isEmpty() ||
        (column < static_cast<int>(kMarkerTypeNames.size()) &&
         (text == russianTypeName(column) || text == russianTypeName(column) + QLatin1Char('.')));
    if (isDefault) {
        return {markerTypeName(column, language), false};
    }
    return {text, true};
}

void layOutLegend(FigureLayout& layout, const PointTable& table, const std::vector<int>& columns,
                  FrameCorners& corners) {
    const FigureOptions& options = layout.options;
    FigureLegend& legend = layout.legend;
    if (options.panels || options.legend == FigureCorner::None) {
        return;
    }
    QStringList unnamed;
    for (const int column : columns) {
        const int count = static_cast<int>(
            std::count_if(layout.drawn.begin(), layout.drawn.end(),
                          [&](const FigurePoint& p) { return p.column == column; }));
        if (count > 0) {
            const ColumnName name = columnName(table, column, options.language);
            legend.entries.push_back(
                {column, name.text, options.italic && name.typed, count, {}, {}});
            if (!name.typed) {
                unnamed << name.text;
            }
        }
    }
    if (legend.entries.empty()) {
        return;
    }
    if (!unnamed.isEmpty()) {
        layout.warnings << QStringLiteral(
                               "У столбцов нет названий видов: легенда называет типы значков (%1)")
                               .arg(unnamed.join(QStringLiteral(", ")));
    }
    const FigureText species(options.fontPt, false, options.italic);
    const FigureText upright(options.fontPt, false, false);
    const FigurePanel& first = layout.panels.front();
    const double rowMm = std::max(options.markerMm, species.heightMm()) + kRowGapMm;
    const double textRoom =
        first.frame.width() - 2 * kInsetMm - 2 * kPadMm - options.markerMm - kMarkerGapMm;
    double textWidth = 0.0;
    for (LegendEntry& e : legend.entries) {
        const FigureText& font = e.italic ? species : upright;
        e.text = font.elided(e.text, textRoom);
        textWidth = std::max(textWidth, font.widthMm(e.text));
    }
    const QSizeF size(2 * kPadMm + options.markerMm + kMarkerGapMm + textWidth,
                      2 * kPadMm - kRowGapMm + rowMm * static_cast<double>(legend.entries.size()));
    const CornerPlace place = corners.place(size, options.legend,
                                            {FigureCorner::TopLeft, FigureCorner::TopRight,
                                             FigureCorner::BottomLeft, FigureCorner::BottomRight});
    legend.corner = place.corner;
    legend.box = place.rect;
    legend.coveredPoints = place.covered;
    double y = place.rect.top() + kPadMm;
    for (LegendEntry& e : legend.entries) {
        const FigureText& font = e.italic ? species : upright;
        const double middle = y + (rowMm - kRowGapMm) / 2;
        e.marker = QPointF(place.rect.left() + kPadMm + options.markerMm / 2, middle);
        e.baseline = QPointF(e.marker.x() + options.markerMm / 2 + kMarkerGapMm,
                             middle + (font.ascentMm() - font.descentMm()) / 2);
        y += rowMm;
    }
    if (place.covered > 0) {
        layout.warnings << QStringLiteral("Легенда закрывает точек: %1").arg(place.covered);
    }
}

}  // namespace zelkora
