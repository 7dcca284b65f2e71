#pragma once

#include <QStringView>
#include <cstdint>

#include "coordtext/Token.h"

namespace zelkora {

// What one word can be to a coordinate, before the words of a phrase ("с. ш.", "vĩ độ Bắc",
// "South latitude") are joined.
enum class WordKind : std::uint8_t {
    plain,       // a word like any other
    hemisphere,  // names a hemisphere (N, south, Bắc), perhaps an axis alone (latitude)
    axisWord,    // names an axis only: latitude, lon, широта
    adjective,   // needs its noun: с (ш.), северной (широты), severní (šířky)
    noun,        // completes an adjective and is nothing alone: ш, д, шир, долг
    vietAxis,    // vĩ, kinh: an axis once "độ" or a hemisphere word follows
    vietDo,      // độ
    unit,        // m, km, ft, °C, ex., ♂: the number before it is a quantity
    quantityPrefix,  // alt., elev., fig., site: the number after it is no coordinate
    month,           // April, апреля: the numbers beside it are a date
    roman,           // I to XII: a month in dates like 3.VI.1970
    degreeWord,      // deg, degrees, град
    minuteWord,      // min, мин: minutes only right after degrees
    secondWord,      // sec, сек: seconds only right after minutes
    rangeWord,       // to, до, đến, or, или, hoặc
    formatWord,      // coordinates, point, geo, http, www, maps: a format may be there
};

// Which format a formatWord starts.
enum class FormatWord : std::uint8_t { none, coordinates, point, geo, link };

struct WordInfo {
    WordKind kind = WordKind::plain;
    Axis axis = Axis::unknown;
    std::int8_t sign = 0;  // +1 north or east, -1 south or west
    bool unreadable = false;
    bool strict = false;  // may be a place name or an ordinary word
    bool vietnameseN = false;
    bool vietnameseD = false;
    bool letterToo = false;  // an adjective that is a hemisphere letter when it stands alone
    FormatWord format = FormatWord::none;
};

// Looks one word up: single letters by their exact case (S is south, s is seconds), longer
// words in any case and composed.
WordInfo classifyWord(QStringView word);

// The Chinese and Japanese hemisphere words (北纬, 東経), which stand inside runs of characters
// without blanks: the length of the one that starts at word[at], or 0.
int cjkHemisphereAt(QStringView word, qsizetype at, WordInfo& info);

bool isCjk(char16_t c);

}  // namespace zelkora
