#include "coordtext/ShipReportReader.h"

#include <cmath>

#include "coordtext/TextScan.h"

namespace zelkora {

namespace {

bool isAsciiDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// degreeDigits + 2 digits of minutes, perhaps decimals, then one of the letters; from i on.
std::optional<double> blockAt(QStringView text, qsizetype& i, int degreeDigits, QChar positive,
                              QChar negative, int& decimals) {
    qsizetype k = i;
    const auto n = scanNumber(text, k);
    if (!n || n->value < 0 || n->intDigits != degreeDigits + 2 || k >= text.size() ||
        (text[k] != positive && text[k] != negative)) {
        return std::nullopt;
    }
    const auto v = fromDegreesMinutes(n->value);
    if (!v) {
        return std::nullopt;
    }
    decimals = n->decimals;
    i = k + 1;
    return text[k] == negative ? -*v : *v;
}

}  // namespace

void ShipReportReader::read(ReadingLine& line, Findings& found) const {
    if (!line.tokens.holds(u'/')) {
        return;
    }
    const QStringView text = line.tokens.text;
    for (qsizetype slash = text.indexOf(u'/'); slash >= 0; slash = text.indexOf(u'/', slash + 1)) {
        // The latitude ends right before the slash: back to where its digits start.
        qsizetype begin = slash - 1;
        if (begin < 0 || (text[begin] != u'N' && text[begin] != u'S')) {
            continue;
        }
        while (begin > 0 && (isAsciiDigit(text[begin - 1]) || text[begin - 1] == u'.')) {
            --begin;
        }
        if (begin > 0 && (text[begin - 1].isLetterOrNumber())) {
            continue;
        }
        int latDecimals = 0;
        int lonDecimals = 0;
        qsizetype i = begin;
        const auto lat = blockAt(text, i, 2, u'N', u'S', latDecimals);
        if (!lat || i != slash) {
            continue;
        }
        ++i;
        const auto lon = blockAt(text, i, 3, u'E', u'W', lonDecimals);
        if (!lon || (i < text.size() && text[i].isLetterOrNumber())) {
            continue;
        }
        line.evidence.claim(line.tokens, begin, i);
        addDegreesMinutesPoint(found, *lat, *lon, latDecimals, lonDecimals, begin, i,
                               Notation::shipReport);
    }
}

}  // namespace zelkora
