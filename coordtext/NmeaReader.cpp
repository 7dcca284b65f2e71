#include "coordtext/NmeaReader.h"

#include <QStringList>
#include <cmath>
#include <vector>

#include "coordtext/TextScan.h"

namespace zelkora {

namespace {

// ddmm.mmmm (latitude) or dddmm.mmmm (longitude), and its hemisphere field.
std::optional<double> field(QStringView value, QStringView hemisphere, int degreeDigits,
                            QChar negative, QChar positive, int& decimals) {
    const qsizetype point = value.indexOf(u'.');
    const qsizetype integer = point < 0 ? value.size() : point;
    if (integer != degreeDigits + 2 || hemisphere.size() != 1 ||
        (hemisphere[0] != negative && hemisphere[0] != positive)) {
        return std::nullopt;
    }
    qsizetype i = 0;
    const auto all = scanNumber(value, i);
    if (!all || i != value.size() || all->value < 0) {
        return std::nullopt;
    }
    const auto v = fromDegreesMinutes(all->value);
    if (!v) {
        return std::nullopt;
    }
    decimals = all->decimals;
    return hemisphere[0] == negative ? -*v : *v;
}

int hexValue(QChar c) {
    const char16_t u = c.toUpper().unicode();
    if (u >= u'0' && u <= u'9') {
        return u - u'0';
    }
    if (u >= u'A' && u <= u'F') {
        return u - u'A' + 10;
    }
    return -1;
}

}  // namespace

void NmeaReader::read(ReadingLine& line, Findings& found) const {
    if (!line.tokens.holds(u'$')) {
        return;
    }
    const QStringView text = line.tokens.text;
    for (qsizetype start = text.indexOf(u'$'); start >= 0; start = text.indexOf(u'$', start + 1)) {
        if (start + 7 > text.size() || text[start + 6] != u',' || !text[start + 1].isLetter() ||
            !text[start + 2].isLetter()) {
            continue;
        }
        const QStringView type = text.sliced(start + 3, 3);
        const bool gga = type.compare(u"GGA", Qt::CaseInsensitive) == 0;
        const bool rmc = type.compare(u"RMC", Qt::CaseInsensitive) == 0;
        const bool gll = type.compare(u"GLL", Qt::CaseInsensitive) == 0;
        // The sentence ends at its checksum; blanks copied into its fields stay in it, and are
        // summed. Without a checksum it ends at the first blank.
        const qsizetype star = text.indexOf(u'*', start);
        const qsizetype nextSentence = text.indexOf(u'$', start + 1);
        qsizetype end = start + 1;
        if (star >= 0 && (nextSentence < 0 || star < nextSentence)) {
            end = star;
        } else {
            while (end < text.size() && text[end] != u'$' && !text[end].isSpace()) {
                ++end;
            }
        }
        const QStringView body = text.sliced(start + 1, end - start - 1);
        qsizetype claimEnd = end;
        bool valid = true;
        if (end < text.size() && text[end] == u'*') {
            // The checksum: XOR of every character between $ and *.
            const int high = end + 1 < text.size() ? hexValue(text[end + 1]) : -1;
            const int low = end + 2 < text.size() ? hexValue(text[end + 2]) : -1;
            int sum = 0;
            for (const QChar c : body) {
                sum ^= c.unicode() & 0xFF;
            }
            valid = high >= 0 && low >= 0 && sum == high * 16 + low;
            claimEnd = std::min(text.size(), end + 3);
        }
        line.evidence.claim(line.tokens, start, claimEnd);
        if (!gga && !rmc && !gll) {
            continue;  // satellites, speeds, headings: a sentence of its own, and no position
        }
        const QList<QStringView> fields = body.split(u',');
        const int latAt = gga ? 2 : rmc ? 3 : 1;
        if (!valid || fields.size() < latAt + 4) {
            addBadPoint(found, NoPointReason::badChecksum, start, claimEnd, Notation::nmea);
            continue;
        }
        // A fix the receiver marks invalid: GGA quality 0, RMC or GLL status V.
        if ((gga && fields.size() > 6 && fields[6] == u"0") ||
            (rmc && fields[2].compare(u"A", Qt::CaseInsensitive) != 0) ||
            (gll && fields.size() > 6 && fields[6].compare(u"V", Qt::CaseInsensitive) == 0)) {
            addBadPoint(found, NoPointReason::badChecksum, start, claimEnd, Notation::nmea);
            continue;
        }
        int latDecimals = 0;
        int lonDecimals = 0;
        const auto lat = field(fields[latAt], fields[latAt + 1], 2, u'S', u'N', latDecimals);
        const auto lon = field(fields[latAt + 2], fields[latAt + 3], 3, u'W', u'E', lonDecimals);
        if (!lat || !lon) {
            addBadPoint(found, NoPointReason::badNumbers, start, claimEnd, Notation::nmea);
            continue;
        }
        addDegreesMinutesPoint(found, *lat, *lon, latDecimals, lonDecimals, start, claimEnd,
                               Notation::nmea);
    }
}

}  // namespace zelkora
