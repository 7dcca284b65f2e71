#include "figure/PointKey.h"

#include <QLocale>
#include <cmath>

#include "common/SavedFile.h"
#include "figure/FigureLayout.h"
#include "table/CommaText.h"

namespace zelkora {

namespace {

// The shortest text that reads back as the same degrees: the table's cells hold no more.
QString degrees(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

}  // namespace

QByteArray pointKeyCsv(const FigureLayout& layout) {
    if (layout.numbers.empty()) {
        return {};
    }
    QByteArray out = "\xEF\xBB\xBFnumber,name,latitude,longitude\r\n";
    for (const PointNumber& n : layout.numbers) {
        // A caption gives 169.65° W, not 190.35° E.
        const double lon = std::remainder(n.point.geo.lon, 360.0);
        // Comma text quotes a field with a blank, comma, quote or line break in it and doubles
        // its quotes, as CSV wants.
        out += JoinCommaText({QString::number(n.number), n.columnName, degrees(n.point.geo.lat),
                              degrees(lon)})
                   .toUtf8();
        out += "\r\n";
    }
    return out;
}

void writePointKey(const FigureLayout& layout, const QString& fileName) {
    saveFile(fileName, pointKeyCsv(layout));
}

}  // namespace zelkora
