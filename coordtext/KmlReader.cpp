#include "coordtext/KmlReader.h"

#include "coordtext/TextScan.h"

namespace zelkora {

void KmlReader::read(TokenLine& line, Findings& found) const {
    if (!line.hasLess || !line.hasCoordinatesWord) {
        return;
    }
    const QStringView text = line.text;
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
        line.claim(open, end);
        // Tuples lon,lat[,alt] separated by white space.
        bool any = false;
        while (true) {
            while (i < close && text[i].isSpace()) {
                ++i;
            }
            if (i >= close) {
                break;
            }
            const auto lon = scanNumber(text, i);
            const bool comma = lon && skipChar(text, i, u',');
            const auto lat = comma ? scanNumber(text, i) : std::nullopt;
            if (!lat) {
                found.refuse(NoPointReason::badNumbers);
                break;
            }
            if (skipChar(text, i, u',') && !scanNumber(text, i)) {
                found.refuse(NoPointReason::badNumbers);
                break;
            }
            if (const auto p = foundPoint(*lat, *lon)) {
                found.points.push_back(*p);
                any = true;
            } else {
                found.refuse(NoPointReason::outOfRange);
            }
        }
        if (!any) {
            found.refuse(NoPointReason::badNumbers);
        }
        open = end - 1;
    }
}

}  // namespace zelkora
