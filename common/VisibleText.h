#pragma once

#include <QString>
#include <QStringView>

namespace zelkora {

// Longer quotes are cut there and end in "…": a message box cannot show a megabyte of text.
inline constexpr qsizetype kMaxQuotedCharacters = 1000;

// User text as a message quotes it: control characters, format characters (zero-width, bidi
// marks), line and paragraph separators, spaces other than the plain blank, lone surrogates and
// unassigned code points are written as \uXXXX (\UXXXXXXXX beyond the first plane), so a message
// never hides what it quotes. Everything else stays as it is.
QString visibleText(QStringView text);

}  // namespace zelkora
