#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "coordtext/Token.h"

namespace zelkora {

// Why a number of a line is no coordinate.
enum class NotCoordinate : std::uint8_t {
    no,                 // nothing says it is not one
    quantity,           // a unit follows: 352 m, 1 male, 12 specimens, 24.8°C, 12 %
    label,              // a label before it: alt. 352, fig. 3, site 12, thứ 7, №5, "1:"
    reference,          // it cites: Ref. 2, DOI 10.1234/ab.56.7, the digits of a link
    date,               // 3.VI.1970, 12 April 2022, 12.06.2015, 2021-06-14
    year,               // 1700 to 2100 alone
    time,               // 12:30, 10:35:00
    code,               // digits run into letters: F3JC, WGS84
    listNumber,         // "1." at the line's start
    uncertainty,        // ±10
    magneticVariation,  // 5°E (2010)
    fraction,           // 07/25, 1/2
};

// How strongly a coordinate says that it is one.
enum class Support : std::uint8_t {
    none,     // a bare number
    degrees,  // whole degrees with their mark and nothing more (30°): angles are written so too
    marks,    // marked minutes or seconds, or decimal degrees with their mark
    named,  // a hemisphere letter or word, or an axis's name (lat=, широта), names it; or the
            // notation is the number's own (N4007, 17:15.7N, a format)
};

// The rule, written once, by which a pair of numbers becomes a point. A number is a coordinate
// only with evidence. Two coordinates that are both at least marked make a point wherever they
// stand side by side. A bare number, or whole degrees alone, counts only where the line holds
// nothing but points: no number in it is left unexplained (every other one is a quantity, a
// date, a label or part of a point), no mark stands apart from its number, and the pair's two
// numbers are joined by nothing but blanks and separators. So "1 male and 1 female" and "slopes
// of 30° and 45°" give no point, while "43.1155, 131.8855" and "Sakhalin, 46.95 142.73, 12 ex."
// do. Where one coordinate of a pair has evidence and the other none, there is no point.
bool pairHasEvidence(Support a, Support b, bool lineHoldsOnlyPoints);

// The verdict on every token of a line, found once after it is cut into tokens: what the
// numbers that are no coordinates are, and which characters a format has read as its own.
class Evidence {
  public:
    // Weighs every number of the line; the claims made so far stay.
    void weigh(const TokenLine& line);

    // Forgets every verdict and claim, and makes room for the line's tokens.
    void reset(const TokenLine& line);

    // Marks every token inside characters [begin, end) as read by a format.
    void claim(const TokenLine& line, qsizetype begin, qsizetype end);

    NotCoordinate against(int token) const { return against_[static_cast<std::size_t>(token)]; }
    bool claimed(int token) const { return claimed_[static_cast<std::size_t>(token)] != 0; }

    // A number that a coordinate reader may read: neither set aside nor claimed.
    bool usable(const TokenLine& line, int token) const;

  private:
    std::vector<NotCoordinate> against_;
    std::vector<std::uint8_t> claimed_;
};

// What a verdict says, for the explanation of a line.
QString notCoordinateText(NotCoordinate verdict);

}  // namespace zelkora
