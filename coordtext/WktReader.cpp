#include "coordtext/WktReader.h"

#include "coordtext/TextScan.h"

namespace zelkora {

namespace {

// The other geometries of WKT, whose numbers are a line's or an area's vertices, no point: they
// are claimed to their closing bracket (or the line's end) and read as none.
void claimOtherGeometries(ReadingLine& line, Findings& found) {
    const QStringView text = line.tokens.text;
    for (const QStringView name :
         {QStringView(u"LINESTRING"), QStringView(u"POLYGON"), QStringView(u"MULTIPOINT"),
          QStringView(u"MULTILINESTRING"), QStringView(u"MULTIPOLYGON"),
          QStringView(u"GEOMETRYCOLLECTION")}) {
        for (qsizetype at = findCaseless(text, name); at >= 0;
             at = findCaseless(text, name, at + 1)) {
            if ((at > 0 && text[at - 1].isLetter()) ||
                (at + name.size() < text.size() && text[at + name.size()].isLetter() &&
                 text[at + name.size()] != u'Z' && text[at + name.size()] != u'M')) {
                continue;
            }
            qsizetype i = at + name.size();
            while (i < text.size() && (text[i].isSpace() || text[i] == u'Z' || text[i] == u'M' ||
                                       text[i] == u'z' || text[i] == u'm')) {
                ++i;
            }
            if (i >= text.size() || text[i] != u'(') {
                continue;
            }
            int depth = 0;
            for (; i < text.size(); ++i) {
                depth += text[i] == u'(' ? 1 : text[i] == u')' ? -1 : 0;
                if (depth == 0) {
                    ++i;
                    break;
                }
            }
            line.evidence.claim(line.tokens, at, i);
            addBadPoint(found, NoPointReason::noCoordinates, at, i, Notation::wkt);
        }
    }
}

}  // namespace

void WktReader::read(ReadingLine& line, Findings& found) const {
    if (!line.tokens.holds(u'(')) {
        return;
    }
    claimOtherGeometries(line, found);
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
