#include "coordtext/Iso6709Reader.h"

#include <cmath>

#include "coordtext/TextScan.h"

namespace zelkora {

namespace {

bool isSign(QChar c) {
    return c == u'+' || c == u'-' || c == u'\u2212';
}

// A signed field with degreeDigits of degrees, perhaps minutes and seconds run on.
std::optional<double> fieldAt(QStringView text, qsizetype& i, int degreeDigits, int& decimals,
                              double& scale) {
    if (i >= text.size() || !isSign(text[i])) {
        return std::nullopt;
    }
    const bool negative = text[i] != u'+';
    qsizetype k = i + 1;
    const auto n = scanNumber(text, k);
    if (!n || n->value < 0) {
        return std::nullopt;
    }
    double v = n->value;
    scale = 1;
    if (n->intDigits == degreeDigits + 2) {
        const auto fromMinutes = fromDegreesMinutes(v);
        if (!fromMinutes) {
            return std::nullopt;
        }
        v = *fromMinutes;
        scale = 1.0 / 60;
    } else if (n->intDigits == degreeDigits + 4) {
        const double degrees = std::floor(v / 10000);
        const double minutes = std::floor((v - degrees * 10000) / 100);
        const double seconds = v - degrees * 10000 - minutes * 100;
        if (minutes >= 60 || seconds >= 60) {
            return std::nullopt;
        }
        v = degrees + minutes / 60 + seconds / 3600;
        scale = 1.0 / 3600;
    } else if (n->intDigits != degreeDigits) {
        return std::nullopt;
    }
    decimals = n->decimals;
    i = k;
    return negative ? -v : v;
}

}  // namespace

void Iso6709Reader::read(ReadingLine& line, Findings& found) const {
    if (!line.tokens.holds(u'+') && !line.tokens.holds(u'-') &&
        !line.tokens.text.contains(u'\u2212')) {
        return;
    }
    const QStringView text = line.tokens.text;
    for (qsizetype at = 0; at < text.size(); ++at) {
        // After a blank, a quote, a tag or a name written against it ("Paris+4852+00220").
        if (!isSign(text[at]) ||
            (at > 0 && !text[at - 1].isSpace() && text[at - 1] != u'"' && text[at - 1] != u'>' &&
             text[at - 1] != u'=' && !text[at - 1].isLetter())) {
            continue;
        }
        qsizetype i = at;
        int latDecimals = 0;
        int lonDecimals = 0;
        double latScale = 1;
        double lonScale = 1;
        const auto lat = fieldAt(text, i, 2, latDecimals, latScale);
        const auto lon = lat ? fieldAt(text, i, 3, lonDecimals, lonScale) : std::nullopt;
        if (!lon) {
            continue;
        }
        // An altitude may follow, then "CRS…" and the closing "/".
        if (i < text.size() && isSign(text[i])) {
            ++i;
            scanNumber(text, i);
        }
        if (i < text.size() && !text[i].isSpace() && text[i] != u'/' && text[i] != u'"' &&
            text[i] != u'<' && text[i] != u'C') {
            continue;
        }
        while (i < text.size() && !text[i].isSpace() && text[i] != u'"' && text[i] != u'<') {
            ++i;
        }
        line.evidence.claim(line.tokens, at, i);
        if (!(std::fabs(*lat) <= 90) || !(std::fabs(*lon) <= 360)) {
            addBadPoint(found, NoPointReason::outOfRange, at, i, Notation::iso6709);
            continue;
        }
        FoundPoint p;
        p.lat = *lat;
        p.lon = *lon;
        p.tolerance = std::max(halfUnit(latDecimals, latScale), halfUnit(lonDecimals, lonScale));
        p.begin = at;
        p.end = i;
        p.notation = Notation::iso6709;
        found.points.push_back(p);
        at = i;
    }
}

}  // namespace zelkora
