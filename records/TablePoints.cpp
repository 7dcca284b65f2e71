#include "records/TablePoints.h"

#include <QLocale>
#include <QStringList>
#include <cmath>

#include "common/ZelkoraError.h"
#include "table/PointCell.h"
#include "table/PointTable.h"
#include "table/StrToFloat.h"

namespace zelkora {

TablePoints pointsOfTable(const PointTable& table) {
    TablePoints result;
    QStringList items;
    for (int c = 0; c < table.ColCount(); ++c) {
        const QString group = table.cell(c, 0).trimmed();
        for (int r = 1; r < table.RowCount(); ++r) {
            const QString text = table.cell(c, r);
            if (text.trimmed().isEmpty()) {
                continue;
            }
            if (!splitPointCell(text, items)) {
                result.skipped.push_back({c, r, text, QStringLiteral("не точка")});
                continue;
            }
            try {
                const double lat = StrToFloat(items[0]);
                const double lon = StrToFloat(items[1]);
                result.points.push_back({group, c, GeoPoint{.lat = lat, .lon = lon}});
            } catch (const ZelkoraError& e) {
                result.skipped.push_back({c, r, text, e.message()});
            }
        }
    }
    return result;
}

QString plainNumber(double value) {
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

double fileLongitude(double lon) {
    if (lon >= -180.0 && lon < 180.0) {
        return lon;
    }
    // Rounded to 1e-9 degrees (a tenth of a millimetre), so that 192.2981 is written as
    // -167.7019, not as the -167.70190000000002 the subtraction leaves.
    const double wrapped = lon >= 180.0 ? lon - 360.0 : lon + 360.0;
    return std::round(wrapped * 1e9) / 1e9;
}

QString xmlSafeText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += text[i];
            out += text[++i];
            continue;
        }
        const bool allowed = c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c < 0xD800) ||
                             (c > 0xDFFF && c < 0xFFFE);
        if (allowed) {
            out += text[i];
        }
    }
    return out;
}

}  // namespace zelkora
