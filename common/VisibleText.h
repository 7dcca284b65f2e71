#pragma once

#include <QString>

// User text as a message quotes it: control characters, format characters (zero-width, bidi
// marks), line and paragraph separators, spaces other than the plain blank, lone surrogates and
// unassigned code points are written as \uXXXX (\UXXXXXXXX beyond the first plane), so a message
// never hides what it quotes. Everything else stays as it is.
QString visibleText(const QString& text);
