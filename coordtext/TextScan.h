#pragma once

#include <QStringView>
#include <optional>

#include "coordtext/Reading.h"

namespace zelkora {

// Small steps for the readers of formats with a syntax of their own (KML, GeoJSON, WKT, links,
// NMEA): they read the line's characters rather than its tokens.

// A decimal number at i, after blanks: an optional sign, digits, an optional point and digits.
// On success i stands after it.
struct ScannedNumber {
    double value = 0;
    int intDigits = 0;
    int decimals = 0;
};
std::optional<ScannedNumber> scanNumber(QStringView text, qsizetype& i);

// Skips blanks, then the character c (or, where comma is asked for, also "%2C" of a link).
bool skipChar(QStringView text, qsizetype& i, char16_t c);

// Degrees and minutes run together, DDMM.mm or DDDMM.mm, as decimal degrees; empty when the
// minutes reach 60.
std::optional<double> fromDegreesMinutes(double runTogether);

// Adds the point of two coordinates written in degrees and minutes (NMEA, ship reports) that span
// characters [begin, end), or a part without a point when one is beyond its range; the tolerance
// is that of the minutes written.
void addDegreesMinutesPoint(Findings& found, double lat, double lon, int latDecimals,
                            int lonDecimals, qsizetype begin, qsizetype end, Notation notation);

// Adds a part of characters [begin, end) that is written in a format's notation but gives no
// point, for the reason given.
void addBadPoint(Findings& found, NoPointReason reason, qsizetype begin, qsizetype end,
                 Notation notation);

// Adds the point lat, lon of characters [begin, end) when both are in range, with the tolerance
// of their decimals; else a part that gives no point.
void addFoundPoint(Findings& found, const ScannedNumber& lat, const ScannedNumber& lon,
                   qsizetype begin, qsizetype end, Notation notation);

// Where what starts in text from `from` on, in any case; -1 if nowhere.
qsizetype findCaseless(QStringView text, QStringView what, qsizetype from = 0);

// The point, when both coordinates are in range, with the tolerance of their decimals.
std::optional<FoundPoint> foundPoint(const ScannedNumber& lat, const ScannedNumber& lon);

}  // namespace zelkora
