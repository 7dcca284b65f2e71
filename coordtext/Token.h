#pragma once

#include <QStringView>
#include <cstdint>
#include <vector>

#include "coordtext/NumberPart.h"

namespace zelkora {

enum class Axis : std::uint8_t { unknown, latitude, longitude };

// What a number says about itself by the mark written after it.
enum class Unit : std::uint8_t { none, degrees, minutes, seconds };

enum class TokenKind : std::uint8_t {
    number,      // digits with perhaps a decimal point or comma, and the mark after them
    dotted,      // three or more groups of digits joined by points: 27.15.45, 3.06.2015
    colon,       // groups of digits joined by colons: 17:15.7, 12:30:05
    hemisphere,  // a letter or words naming a hemisphere, an axis, or both
    separator,   // , ; / | and tabs: they stand between coordinates
    dash,        // - – — between numbers: a range
    rangeWord,   // to, до, đến, or, или, hoặc: a range or a choice
    label,       // : and =, which join a name to its number and end a run of numbers
    word,        // any other word
    other,       // any other character: brackets, quotes, stray marks, symbols
};

// One piece of a line: characters [begin, end) of it.
struct Token {
    qsizetype begin = 0;
    qsizetype end = 0;
    TokenKind kind = TokenKind::other;

    // Numbers (number, dotted, colon).
    double value = 0;            // the magnitude; for dotted and colon the first group
    std::int32_t intDigits = 0;  // digits before the decimal separator
    std::int32_t decimals = 0;   // digits after it
    bool negative = false;       // a minus sign stood right before it
    bool plus = false;           // a plus sign stood right before it
    bool leadingZero = false;    // more than one integer digit, the first a 0
    Unit unit = Unit::none;      // the mark written after it
    bool temperature = false;    // °C, °F
    bool ignored = false;        // a quantity, a date, a time, a count or a code: no coordinate
    bool claimed = false;        // read by a format that fixes the order itself

    // Words: what the word is, before words of one phrase are joined.
    std::uint8_t word = 0;  // a WordKind

    // Hemisphere tokens.
    Axis axis = Axis::unknown;
    std::int8_t sign = 0;      // +1 north or east, -1 south or west, 0 an axis only
    bool unreadable = false;   // a hemisphere whose sign the rules cannot tell (O, T)
    bool strict = false;       // may be a place name: a prefix only after a separator
    bool vietnameseN = false;  // the letter N, which is Nam beside Đ
    bool vietnameseD = false;  // the letter Đ

    bool isNumber() const {
        return kind == TokenKind::number || kind == TokenKind::dotted || kind == TokenKind::colon;
    }
};

// A line cut into tokens, with the line itself for the readers that read a format's own syntax.
struct TokenLine {
    QStringView text;
    std::vector<Token> tokens;
    bool tooLong = false;  // more tokens than any one point needs: read as no point

    // Which characters the line holds, so that a format reader can tell at once that its
    // format is not there.
    bool hasLess = false;    // <
    bool hasQuote = false;   // "
    bool hasDollar = false;  // $
    bool hasAt = false;      // @
    bool hasHash = false;    // #
    bool hasEquals = false;  // =
    bool hasSlash = false;   // /
    bool hasColon = false;   // :
    bool hasParen = false;   // (
    bool hasPlus = false;    // +
    // Words that start a format: coordinates (KML, GeoJSON), point (WKT), geo (geo: URIs),
    // http, https, www, maps (links); and a number written with its sign (ISO 6709).
    bool hasCoordinatesWord = false;
    bool hasPointWord = false;
    bool hasGeoWord = false;
    bool hasLinkWord = false;
    bool hasSignedNumber = false;

    // Marks every token inside characters [begin, end) as read by a format.
    void claim(qsizetype begin, qsizetype end);

    // The parts numberParts found, kept until the tokens change.
    mutable std::vector<NumberPart> parts;
    mutable bool partsFound = false;
};

}  // namespace zelkora
