#include "table/myParser.h"

#include "coordtext/Normaliser.h"
#include "table/CoordFormat.h"

namespace zelkora {

QString myParser(QStringView s) {
    const LineReading reading = readPointLine(s);
    if (!reading.point) {
        return {};
    }
    return formatCoordinate(reading.point->lat) + QStringLiteral(", ") +
           formatCoordinate(reading.point->lon);
}

}  // namespace zelkora
