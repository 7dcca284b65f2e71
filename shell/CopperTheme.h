#pragma once

#include <QFont>

class QApplication;

namespace zelkora {

// The look of the whole program, the "Copper" theme: the Fusion style with copper tones, and
// Tahoma.
class CopperTheme {
  public:
    // Where Debian's fonts-wine puts a Tahoma with Cyrillic letters.
    static constexpr const char* kTahomaFile = "/usr/share/wine/fonts/tahoma.ttf";
    static constexpr int kFontPixels = 11;
    static constexpr int kSmallFontPixels = 9;

    // Style, palette and font for every window of the program. Tahoma comes from tahomaFile, or
    // from the fonts the system knows when that file cannot be read; without it the window
    // fits its captions to the font it falls back on.
    static void apply(QApplication& app,
                      const QString& tahomaFile = QString::fromLatin1(kTahomaFile));

    // Tahoma at the given character height in pixels, or a sans font of that height when
    // apply found no Tahoma.
    static QFont font(int pixelSize);
};

}  // namespace zelkora
