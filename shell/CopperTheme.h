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

    // Style, palette and font for every window of the program.
    static void apply(QApplication& app);

    // Tahoma at the given character height in pixels, or a sans font of that height when
    // Tahoma cannot be loaded.
    static QFont font(int pixelSize);
};

}  // namespace zelkora
