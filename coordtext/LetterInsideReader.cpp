#include "coordtext/LetterInsideReader.h"

#include "coordtext/Words.h"

namespace zelkora {

namespace {

// The meaning of a letter in this notation, which writes English letters only.
bool compassLetter(char16_t c, Axis& axis, int& sign) {
    switch (c) {
        case u'N':
            axis = Axis::latitude;
            sign = +1;
            return true;
        case u'S':
            axis = Axis::latitude;
            sign = -1;
            return true;
        case u'E':
            axis = Axis::longitude;
            sign = +1;
            return true;
        case u'W':
            axis = Axis::longitude;
            sign = -1;
            return true;
        default:
            return false;
    }
}

// Degrees and minutes joined by a hyphen, the letter after the minutes: 59-23,84N, as the
// Swedish notices to mariners write them. From token i: degrees, dash, minutes, letter, all
// written together.
bool readHyphenated(ReadingLine& line, Findings& found, int i) {
    if (i + 3 >= line.tokenCount()) {
        return false;
    }
    const Token& degrees = line.token(i);
    const Token& dash = line.token(i + 1);
    const Token& minutes = line.token(i + 2);
    const Token& letter = line.token(i + 3);
    const QStringView text = line.tokens.text;
    Axis axis = Axis::unknown;
    int sign = 0;
    if (degrees.kind != TokenKind::number || dash.kind != TokenKind::dash ||
        minutes.kind != TokenKind::number || letter.kind != TokenKind::hemisphere ||
        dash.begin != degrees.end || dash.end - dash.begin != 1 || minutes.begin != dash.end ||
        letter.begin != minutes.end || letter.end - letter.begin != 1 || degrees.decimals > 0 ||
        degrees.intDigits > 3 || degrees.unit != Unit::none || minutes.unit != Unit::none ||
        minutes.intDigits != 2 || minutes.value >= 60 || degrees.negative ||
        !compassLetter(text[letter.begin].unicode(), axis, sign)) {
        return false;
    }
    Coordinate coordinate;
    coordinate.degrees = degrees.value + minutes.value / 60;
    coordinate.tolerance = halfUnit(minutes.decimals, 1.0 / 60);
    coordinate.first = i;
    coordinate.last = i + 3;
    coordinate.latitudePossible = axis == Axis::latitude || degrees.intDigits <= 3;
    coordinate.support = Support::named;
    coordinate.notation = Notation::degreesMinutes;
    coordinate.axis = axis;
    coordinate.sign = static_cast<std::int8_t>(sign);
    found.coordinates.push_back(coordinate);
    line.evidence.claim(line.tokens, degrees.begin, letter.end);
    return true;
}

}  // namespace

void LetterInsideReader::read(ReadingLine& line, Findings& found) const {
    const QStringView text = line.tokens.text;
    const int n = line.tokenCount();
    for (int i = 0; i + 2 < n; ++i) {
        if (readHyphenated(line, found, i)) {
            i += 3;
            continue;
        }
        const Token& degrees = line.token(i);
        const Token& letter = line.token(i + 1);
        const Token& minutes = line.token(i + 2);
        const char16_t c = letter.letter == 0 ? 0 : QChar(text[letter.begin]).toUpper().unicode();
        Axis axis = Axis::unknown;
        int sign = 0;
        if (degrees.kind != TokenKind::number || minutes.kind != TokenKind::number ||
            letter.kind != TokenKind::hemisphere || letter.end - letter.begin != 1 ||
            letter.begin != degrees.end || minutes.begin != letter.end ||
            degrees.unit != Unit::none || minutes.unit != Unit::none || degrees.decimals > 0 ||
            degrees.intDigits > 3 || degrees.negative || degrees.plus || minutes.intDigits != 2 ||
            minutes.decimals > 0 || minutes.value >= 60 || !compassLetter(c, axis, sign)) {
            continue;
        }
        // Nothing but CJK, blanks or punctuation against the run on either side.
        const auto free = [&](qsizetype at) {
            if (at < 0 || at >= text.size()) {
                return true;
            }
            const QChar ch = text[at];
            return !(ch.isLetterOrNumber() || ch == u'.' || ch == u',') || isCjk(ch.unicode());
        };
        if (!free(degrees.begin - 1) || !free(minutes.end)) {
            continue;
        }
        Coordinate coordinate;
        coordinate.degrees = degrees.value + minutes.value / 60;
        coordinate.tolerance = halfUnit(0, 1.0 / 60);
        coordinate.first = i;
        coordinate.last = i + 2;
        coordinate.latitudePossible = axis == Axis::latitude || degrees.intDigits <= 3;
        coordinate.support = Support::named;
        coordinate.notation = Notation::degreesMinutes;
        coordinate.axis = axis;
        coordinate.sign = static_cast<std::int8_t>(sign);
        found.coordinates.push_back(coordinate);
        line.evidence.claim(line.tokens, degrees.begin, minutes.end);
        i += 2;
    }
}

}  // namespace zelkora
