#include "coordtext/GeoUriReader.h"

#include "coordtext/TextScan.h"

namespace zelkora {

void GeoUriReader::read(ReadingLine& line, Findings& found) const {
    if (!line.tokens.holds(u':') || (!line.tokens.holds(u'g') && !line.tokens.holds(u'G'))) {
        return;
    }
    const QStringView text = line.tokens.text;
    for (qsizetype at = findCaseless(text, u"geo:"); at >= 0;
         at = findCaseless(text, u"geo:", at + 1)) {
        if (at > 0 && text[at - 1].isLetterOrNumber()) {
            continue;
        }
        qsizetype i = at + 4;
        auto lat = scanNumber(text, i);
        auto lon = lat && skipChar(text, i, u',') ? scanNumber(text, i) : std::nullopt;
        if (!lon) {
            continue;
        }
        if (skipChar(text, i, u',')) {
            scanNumber(text, i);  // the altitude
        }
        qsizetype end = i;
        while (end < text.size() && !text[end].isSpace()) {
            ++end;
        }
        // geo:0,0?q=lat,lon(label): the point is in the query.
        if (lat->value == 0 && lon->value == 0) {
            const qsizetype q = findCaseless(text.sliced(0, end), u"q=", i);
            if (q < 0) {
                continue;
            }
            i = q + 2;
            lat = scanNumber(text, i);
            lon = lat && skipChar(text, i, u',') ? scanNumber(text, i) : std::nullopt;
            if (!lon) {
                continue;
            }
        }
        line.evidence.claim(line.tokens, at, end);
        addFoundPoint(found, *lat, *lon, at, end, Notation::geoUri);
    }
}

}  // namespace zelkora
