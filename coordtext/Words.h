#pragma once

#include <QStringView>
#include <cstdint>
#include <functional>

#include "coordtext/Token.h"

namespace zelkora {

struct WordInfo {
    WordKind kind = WordKind::plain;
    Axis axis = Axis::unknown;
    std::int8_t sign = 0;     // +1 north or east, -1 south or west
    bool strict = false;      // may be a place name or an ordinary word
    bool letterToo = false;   // an adjective that is a hemisphere letter when it stands alone
    char16_t letter = 0;      // a hemisphere letter whose meaning depends on the language
    LetterSystems languages;  // the letter systems whose languages write this word
};

// Looks one word up: single letters by their exact case (S is south, s is seconds), longer
// words in any case and composed.
WordInfo classifyWord(QStringView word);

// The Chinese, Japanese and Korean hemisphere words (北纬, 東経, 북위), which stand inside runs
// of characters without blanks: the length of the one that starts at word[at], or 0.
int cjkHemisphereAt(QStringView word, qsizetype at, WordInfo& info);

bool isCjk(char16_t c);

// Two letters joined by a point that name a hemisphere together: "s. š." (severní šířky), "n. Br."
// (nördliche Breite), "и. д." (източна дължина). False where the pair means nothing.
bool abbreviation(QStringView first, QStringView second, WordInfo& info);

// Calls visit with every word of the table and what it means, so that a test can walk it.
void forEachWord(const std::function<void(QStringView word, const WordInfo& info)>& visit);

// The words the table was given twice while it was built: a word means one thing.
int duplicateWords();

}  // namespace zelkora
