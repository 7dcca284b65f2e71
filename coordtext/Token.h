#pragma once

#include <QStringView>
#include <bitset>
#include <cstdint>
#include <vector>

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

// What one word can be to a coordinate, before the words of a phrase ("с. ш.", "vĩ độ Bắc",
// "South latitude") are joined.
enum class WordKind : std::uint8_t {
    plain,       // a word like any other
    hemisphere,  // names a hemisphere (N, south, Bắc), perhaps an axis alone (latitude)
    axisWord,    // names an axis only: latitude, lon, широта
    adjective,   // needs its noun: с (ш.), северной (широты), severní (šířky)
    noun,        // completes an adjective and is nothing alone: ш, д, шир, долг
    filler,      // stands inside a phrase without changing it: географске, geograficznej
    vietAxis,    // vĩ, kinh: an axis once "độ" or a hemisphere word follows
    vietDo,      // độ
    unit,        // m, km, ft, °C, ex., ♂, male: the number before it is a quantity
    quantityPrefix,  // alt., elev., fig., site: the number after it is no coordinate
    reference,       // ref., DOI, ISBN: the numbers after it cite, they do not place
    month,           // April, апреля: the numbers beside it are a date
    roman,           // I to XII: a month in dates like 3.VI.1970
    degreeWord,      // deg, degrees, град, градус
    minuteWord,      // min, мин, минута
    secondWord,      // sec, сек, секунда
    rangeWord,       // to, до, đến, or, или, hoặc
    rangeOpening,    // between, между, zwischen: a range when "and" follows its first number
    connector,       // and, и, và, und: joins the two coordinates of a point
    common,          // in, near, на, gần: a word of prose that names no hemisphere
};

// The languages whose hemisphere letters differ: a letter such as O or V means east in some and
// west in others, and the line's other letters and words tell which is meant.
enum class LetterSystem : std::uint8_t {
    international,    // N S E W: English and most languages
    german,           // N S O W
    dutch,            // N Z O W
    romance,          // N S E O: French, Spanish, Italian (O is ouest, oeste, ovest)
    portuguese,       // N S L O (and E)
    czech,            // S J V Z: Czech and Slovak (sever, jih, východ, západ)
    danish,           // N S Ø V: Danish and Norwegian (vest)
    swedish,          // N S Ö V (ost, väst)
    finnish,          // P E I L (pohjoinen, etelä, itä, länsi)
    vietnamese,       // B N Đ T (Bắc, Nam, Đông, Tây)
    vietnameseNorth,  // B Đ T beside an English N: a writer who mixed the two
    count
};
using LetterSystems = std::bitset<static_cast<std::size_t>(LetterSystem::count)>;

// One piece of a line: characters [begin, end) of it, and what it says about itself. What it is
// to a coordinate (a quantity, a date, read by a format) is decided later, by the evidence.
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
    bool plusMinus = false;      // ± stood right before it: an uncertainty
    bool leadingZero = false;    // more than one integer digit, the first a 0
    Unit unit = Unit::none;      // the mark written after it
    bool letterMark = false;     // the mark is a letter or a word (d, o, deg, град)
    bool temperature = false;    // °C, °F

    // Words: what the word is, after the words of one phrase are joined.
    WordKind word = WordKind::plain;

    // Hemisphere tokens.
    Axis axis = Axis::unknown;
    std::int8_t sign = 0;     // +1 north or east, -1 south or west, 0 an axis only
    bool strict = false;      // may be a place name: a prefix only after a separator
    bool phrase = false;      // words joined into one ("с. ш.", "s. sh."): it follows its number
    char16_t letter = 0;      // a hemisphere letter whose meaning depends on the language
    LetterSystems languages;  // the letter systems a word belongs to, where it tells

    bool isNumber() const {
        return kind == TokenKind::number || kind == TokenKind::dotted || kind == TokenKind::colon;
    }
};

// A line cut into tokens, with the line itself for the readers that read a format's own syntax.
struct TokenLine {
    QStringView text;
    std::vector<Token> tokens;
    bool tooLong = false;    // more tokens than any paragraph of points holds: read as no point
    std::bitset<128> ascii;  // the ASCII characters the line holds

    // Whether the line holds the ASCII character c: a reader tells at once that its format is
    // not there.
    bool holds(char16_t c) const { return c < 128 && ascii.test(c); }
};

}  // namespace zelkora
