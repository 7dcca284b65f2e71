// The readers of GPX, KML and GeoJSON on any bytes, the first byte choosing which. Whatever they
// read is in range, and written out in the same format and read again fills a table the same way.
#include <cstddef>
#include <cstdint>

#include "common/ZelkoraError.h"
#include "fuzz/support/FuzzInput.h"
#include "fuzz/support/RecordsRoundTrip.h"
#include "records/OccurrenceFormats.h"
#include "records/PointFileWriters.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zelkora;
    if (size == 0) {
        return 0;
    }
    struct Format {
        const char* name;
        const char* fileName;
        QByteArray (*write)(const std::vector<TablePoint>& points);
    };
    static const Format kFormats[] = {{"gpx", "points.gpx", gpxPointFile},
                                      {"kml", "points.kml", kmlPointFile},
                                      {"geojson", "points.geojson", geoJsonPointFile}};
    const Format& format = kFormats[data[0] % 3];
    ReadOptions options;
    options.format = QLatin1String(format.name);
    options.tracks = (data[0] & 0x80) != 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1),
                           static_cast<qsizetype>(size - 1));
    std::optional<OccurrenceSet> set;
    try {
        set = readOccurrences(bytes, QString(), options);
    } catch (const ZelkoraError&) {
        return 0;
    }
    if (!set) {
        fuzzFailure("a GPS or GIS reader gave plain lines");
    }
    checkRecordsRoundTrip(*set, format.write, QLatin1String(format.fileName));
    return 0;
}
