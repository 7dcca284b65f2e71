#include "coordtext/GeoJsonReader.h"

#include "coordtext/TextScan.h"

namespace zelkora {

void GeoJsonReader::read(ReadingLine& line, Findings& found) const {
    if (!line.tokens.holds(u'"') || !line.tokens.holds(u'[')) {
        return;
    }
    const QStringView text = line.tokens.text;
    for (qsizetype key = findCaseless(text, u"\"coordinates\""); key >= 0;
         key = findCaseless(text, u"\"coordinates\"", key + 1)) {
        qsizetype i = key + 13;
        if (!skipChar(text, i, u':') || !skipChar(text, i, u'[')) {
            continue;
        }
        // Positions [lon, lat(, alt)] at any depth, until the brackets close.
        int depth = 1;
        bool any = false;
        bool bad = false;
        while (depth > 0 && i < text.size()) {
            if (skipChar(text, i, u'[')) {
                ++depth;
                continue;
            }
            if (skipChar(text, i, u']')) {
                --depth;
                skipChar(text, i, u',');
                continue;
            }
            const qsizetype position = i;
            const auto lon = scanNumber(text, i);
            const auto lat = lon && skipChar(text, i, u',') ? scanNumber(text, i) : std::nullopt;
            if (!lat) {
                bad = true;
                break;
            }
            while (skipChar(text, i, u',') && scanNumber(text, i)) {
            }
            if (!skipChar(text, i, u']')) {
                bad = true;
                break;
            }
            --depth;
            skipChar(text, i, u',');
            addFoundPoint(found, *lat, *lon, position, i, Notation::geoJson);
            any = true;
        }
        line.evidence.claim(line.tokens, key, i);
        if (bad || !any) {
            addBadPoint(found, NoPointReason::badNumbers, key, i, Notation::geoJson);
        }
    }
}

}  // namespace zelkora
