#include "coordtext/KmlReader.h"

#include "coordtext/TextScan.h"

namespace zelkora {

void KmlReader::read(ReadingLine& line, Findings& found) const {
    if (!line.tokens.holds(u'<')) {
        return;
    }
    const QStringView text = line.tokens.text;
    for (qsizetype open = findCaseless(text, u"<coordinates"); open >= 0;
         open = findCaseless(text, u"<coordinates", open + 1)) {
        qsizetype i = text.indexOf(u'>', open);
        if (i < 0) {
            return;
        }
        ++i;
        qsizetype end = findCaseless(text, u"</coordinates", i);
        const qsizetype close = end < 0 ? text.size() : end;
        end = end < 0 ? text.size() : std::max(close, text.indexOf(u'>', close) + 1);
        line.evidence.claim(line.tokens, open, end);
        // Tuples lon,lat[,alt] separated by white space.
        bool any = false;
        while (true) {
            while (i < close && text[i].isSpace()) {
                ++i;
            }
            if (i >= close) {
                break;
            }
            const qsizetype tuple = i;
            const auto lon = scanNumber(text, i);
            const bool comma = lon && skipChar(text, i, u',');
            const auto lat = comma ? scanNumber(text, i) : std::nullopt;
            if (!lat || (skipChar(text, i, u',') && !scanNumber(text, i))) {
                addBadPoint(found, NoPointReason::badNumbers, open, end, Notation::kml);
                any = true;
                break;
            }
            addFoundPoint(found, *lat, *lon, tuple, i, Notation::kml);
            any = true;
        }
        if (!any) {
            addBadPoint(found, NoPointReason::badNumbers, open, end, Notation::kml);
        }
        open = end - 1;
    }
}

}  // namespace zelkora
