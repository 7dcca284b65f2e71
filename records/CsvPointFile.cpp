#include "records/PointFileWriters.h"

#include "table/CommaText.h"

namespace zelkora {

QByteArray csvPointFile(const std::vector<TablePoint>& points) {
    QByteArray out = "\xEF\xBB\xBFgroup,marker,latitude,longitude\r\n";
    for (const TablePoint& p : points) {
        // The table's comma text quotes a field with a blank, comma, quote or line break in it
        // and doubles its quotes, as CSV wants.
        out += JoinCommaText({p.group, QString::number(p.marker), plainNumber(p.point.lat),
                              plainNumber(p.point.lon)})
                   .toUtf8();
        out += "\r\n";
    }
    return out;
}

}  // namespace zelkora
