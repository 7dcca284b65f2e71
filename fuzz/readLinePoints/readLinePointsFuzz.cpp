// The reader of every point of a line, on any line, with and without a map to choose by. It
// throws nothing; every point lies in range, comes from characters of the line, in the order of
// the text, and written as a cell it reads back as itself; where the line gives one point,
// readPointLine gives the same, and none where it gives several.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "coordtext/Normaliser.h"
#include "fuzz/support/FuzzInput.h"
#include "table/CoordFormat.h"
#include "table/myParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zelkora;
    const QString line = fuzzText(data, size);
    LinePoints reading;
    LinePoints onMap;
    LineReading one;
    try {
        reading = readLinePoints(line);
        onMap = readLinePoints(line, [](double lat, double lon) { return lat > 0 && lon > 0; });
        one = readPointLine(line);
    } catch (...) {
        fuzzFailure("an error: every line gives its points or none");
    }
    for (const LinePoints* r : {&reading, &onMap}) {
        qsizetype previous = -1;
        for (const LinePoint& p : r->points) {
            if (!(std::fabs(p.lat) <= 90) || !(std::fabs(p.lon) <= 360)) {
                fuzzFailure("a point out of range");
            }
            if (p.spans.empty()) {
                fuzzFailure("a point from no characters");
            }
            for (const TextSpan& s : p.spans) {
                if (s.start < 0 || s.length <= 0 || s.end() > line.size()) {
                    fuzzFailure("a span outside the line");
                }
            }
            if (p.spans.front().start <= previous) {
                fuzzFailure("points out of the order of the text");
            }
            previous = p.spans.front().start;
            const QString cell = formatPointCell(p.lat, p.lon);
            if (myParser(cell) != cell) {
                fuzzFailure("a point's cell does not read as itself");
            }
            if (!r->points.empty() && p.byMap && r == &reading) {
                fuzzFailure("a point chosen by a map that was not given");
            }
        }
        for (const UnreadPart& u : r->unread) {
            if (u.span.start < 0 || u.span.length < 0 || u.span.end() > line.size()) {
                fuzzFailure("an unread part outside the line");
            }
        }
    }
    if (reading.points.size() == 1) {
        if (!one.point || one.point->lat != reading.points[0].lat ||
            one.point->lon != reading.points[0].lon) {
            fuzzFailure("readPointLine differs from the line's one point");
        }
    } else if (one.point) {
        fuzzFailure("readPointLine gives a point where the line gives none or several");
    }
    return 0;
}
