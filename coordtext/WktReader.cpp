#include "coordtext/WktReader.h"

#include "coordtext/TextScan.h"

namespace zelkora {

void WktReader::read(ReadingLine& line, Findings& found) const {
    if (!line.tokens.holds(u'(')) {
        return;
    }
    const QStringView text = line.tokens.text;
    for (qsizetype at = findCaseless(text, u"point"); at >= 0;
         at = findCaseless(text, u"point", at + 1)) {
        if (at > 0 && text[at - 1].isLetter()) {
            continue;  // MULTIPOINT, or a word that ends in "point"
        }
        qsizetype i = at + 5;
        while (i < text.size() && text[i].isSpace()) {
            ++i;
        }
        // POINT Z, POINT M, POINT ZM.
        while (i < text.size() &&
               (text[i] == u'Z' || text[i] == u'M' || text[i] == u'z' || text[i] == u'm')) {
            ++i;
        }
        if (!skipChar(text, i, u'(')) {
            continue;
        }
        const auto lon = scanNumber(text, i);
        const auto lat = lon ? scanNumber(text, i) : std::nullopt;
        if (!lat) {
            continue;
        }
        while (scanNumber(text, i)) {
        }
        if (!skipChar(text, i, u')')) {
            continue;
        }
        line.evidence.claim(line.tokens, at, i);
        addFoundPoint(found, *lat, *lon, at, i, Notation::wkt);
    }
}

}  // namespace zelkora
