#pragma once

class QWidget;

namespace zelkora {

// Captions measured against their controls. The window's sizes are fixed in pixels for Tahoma;
// with any other font a caption may be wider than the room its control gives it, and then it
// takes a smaller pixel size of the same font, one pixel at a time, until it fits.
class CaptionFit {
  public:
    static constexpr int kSmallestPixels = 6;

    // Fits every caption of root and its children: labels, buttons, check boxes, radio buttons
    // and group box titles. The controls keep their sizes.
    static void fitAll(QWidget* root);

    // Whether the caption of widget fits its control: a caption on one line by its width, a
    // wrapped one by the height of its lines as well. A widget without a caption fits.
    static bool fits(const QWidget* widget);
};

}  // namespace zelkora
