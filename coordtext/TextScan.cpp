#include "coordtext/TextScan.h"

#include <algorithm>
#include <cmath>

namespace zelkora {

namespace {

bool isAsciiDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

}  // namespace

std::optional<ScannedNumber> scanNumber(QStringView text, qsizetype& i) {
    qsizetype k = i;
    while (k < text.size() && (text[k] == u' ' || text[k] == u'\t')) {
        ++k;
    }
    bool negative = false;
    if (k < text.size() && (text[k] == u'-' || text[k] == u'+' || text[k] == u'\u2212')) {
        negative = text[k] != u'+';
        ++k;
    }
    ScannedNumber n;
    double value = 0;
    while (k < text.size() && isAsciiDigit(text[k])) {
        value = value * 10 + (text[k].unicode() - u'0');
        ++n.intDigits;
        ++k;
    }
    if (k + 1 < text.size() && text[k] == u'.' && isAsciiDigit(text[k + 1])) {
        ++k;
        double scale = 0.1;
        while (k < text.size() && isAsciiDigit(text[k])) {
            value += (text[k].unicode() - u'0') * scale;
            scale /= 10;
            ++n.decimals;
            ++k;
        }
    }
    if (n.intDigits == 0 && n.decimals == 0) {
        return std::nullopt;
    }
    if (n.intDigits > 15) {
        return std::nullopt;
    }
    n.value = negative ? -value : value;
    i = k;
    return n;
}

bool skipChar(QStringView text, qsizetype& i, char16_t c) {
    qsizetype k = i;
    while (k < text.size() && (text[k] == u' ' || text[k] == u'\t')) {
        ++k;
    }
    if (k < text.size() && text[k] == c) {
        i = k + 1;
        return true;
    }
    if (c == u',' && k + 2 < text.size() && text[k] == u'%' && text[k + 1] == u'2' &&
        (text[k + 2] == u'C' || text[k + 2] == u'c')) {
        i = k + 3;
        return true;
    }
    return false;
}

std::optional<double> fromDegreesMinutes(double runTogether) {
    const double degrees = std::floor(runTogether / 100);
    const double minutes = runTogether - degrees * 100;
    if (minutes >= 60) {
        return std::nullopt;
    }
    return degrees + minutes / 60;
}

void addDegreesMinutesPoint(Findings& found, double lat, double lon, int latDecimals,
                            int lonDecimals, qsizetype begin, qsizetype end, Notation notation) {
    if (std::fabs(lat) > 90 || std::fabs(lon) > 180) {
        addBadPoint(found, NoPointReason::outOfRange, begin, end, notation);
        return;
    }
    FoundPoint p;
    p.lat = lat;
    p.lon = lon;
    p.tolerance = halfUnit(std::min(latDecimals, lonDecimals), 1.0 / 60);
    p.begin = begin;
    p.end = end;
    p.notation = notation;
    found.points.push_back(p);
}

void addBadPoint(Findings& found, NoPointReason reason, qsizetype begin, qsizetype end,
                 Notation notation) {
    FoundPoint p;
    p.begin = begin;
    p.end = end;
    p.notation = notation;
    p.bad = reason;
    found.points.push_back(p);
}

void addFoundPoint(Findings& found, const ScannedNumber& lat, const ScannedNumber& lon,
                   qsizetype begin, qsizetype end, Notation notation) {
    if (auto p = foundPoint(lat, lon)) {
        p->begin = begin;
        p->end = end;
        p->notation = notation;
        found.points.push_back(*p);
    } else {
        addBadPoint(found, NoPointReason::outOfRange, begin, end, notation);
    }
}

qsizetype findCaseless(QStringView text, QStringView what, qsizetype from) {
    return text.indexOf(what, from, Qt::CaseInsensitive);
}

std::optional<FoundPoint> foundPoint(const ScannedNumber& lat, const ScannedNumber& lon) {
    if (!(std::fabs(lat.value) <= 90) || !(std::fabs(lon.value) <= 360)) {
        return std::nullopt;
    }
    FoundPoint p;
    p.lat = lat.value;
    p.lon = lon.value;
    p.tolerance = halfUnit(std::min(lat.decimals, lon.decimals));
    return p;
}

}  // namespace zelkora
