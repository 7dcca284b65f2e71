#include "table/myParser.h"

#include "coordtext/Normaliser.h"
#include "table/CoordFormat.h"

namespace zelkora {

QString myParser(QStringView s) {
    const LineReading reading = readPointLine(s);
    if (!reading.point) {
        return {};
    }
    return formatPointCell(reading.point->lat, reading.point->lon);
}

}  // namespace zelkora
