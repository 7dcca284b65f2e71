#include "coordtext/GeoJsonReader.h"

#include "coordtext/TextScan.h"

namespace zelkora {

void GeoJsonReader::read(TokenLine& line, Findings& found) const {
    if (!line.hasQuote || !line.hasCoordinatesWord) {
        return;
    }
    const QStringView text = line.text;
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
            if (const auto p = foundPoint(*lat, *lon)) {
                found.points.push_back(*p);
                any = true;
            } else {
                found.refuse(NoPointReason::outOfRange);
            }
        }
        line.claim(key, i);
        if (bad || !any) {
            found.refuse(NoPointReason::badNumbers);
        }
    }
}

}  // namespace zelkora
