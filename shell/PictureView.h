#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <optional>

#include "mapimage/TPngImage.h"

namespace zelkora {

// The map picture on the window: its own copy of the raster last given to it, shown scaled to
// fit with the aspect ratio kept, at the top-left corner. The picture is scaled once when it
// arrives, straight from the raster, not on every repaint. It tells which pixel of the picture
// lies under the pointer as the pointer moves, and which one is clicked.
class PictureView : public QWidget {
  public:
    // The picture's pixel under the pointer; nothing when the pointer is off the picture.
    using PointerFn = std::function<void(std::optional<QPoint> pixel)>;
    // A left click on the picture's pixel.
    using ClickFn = std::function<void(QPoint pixel)>;

    explicit PictureView(QWidget* parent = nullptr);

    void setOnPointer(PointerFn fn) { onPointer_ = std::move(fn); }
    void setOnClick(ClickFn fn) { onClick_ = std::move(fn); }
    // The picture's pixel shown at the view's position; nothing off the picture.
    std::optional<QPoint> pixelAt(QPointF position) const;

    // Takes the picture and scales it for showing.
    void setPicture(TPngImage picture);
    // The same, handing back the picture shown before, whose storage the next one may use.
    TPngImage replacePicture(TPngImage picture);
    // The picture at its full size, as the export saves it.
    const TPngImage& picture() const { return picture_; }
    // The size at which the picture is shown, in the view's pixels.
    QSize shownSize() const { return shown_; }

    // The largest size of picture's aspect ratio that fits into view, in whole pixels rounded
    // down (1113 x 2000 in 466 x 782 gives 435 x 782). Never below 1 x 1 for a picture.
    static constexpr QSize fitSize(QSize picture, QSize view) {
        if (picture.isEmpty() || view.isEmpty()) {
            return {0, 0};
        }
        const qint64 pw = picture.width();
        const qint64 ph = picture.height();
        // Compare the ratios crosswise to stay in integers.
        if (pw * view.height() >= ph * view.width()) {
            return {view.width(), static_cast<int>(std::max<qint64>(1, ph * view.width() / pw))};
        }
        return {static_cast<int>(std::max<qint64>(1, pw * view.height() / ph)), view.height()};
    }

    // picture scaled smoothly to size: each pixel the average of the picture's area under it,
    // each source pixel weighted by how much of it that area covers, with colours weighted by
    // their alpha so that transparent pixels lend none. Premultiplied RGBA; size at least 1 x 1,
    // picture not empty.
    static QImage scaledPicture(const TPngImage& picture, QSize size);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    TPngImage picture_;
    QPixmap scaled_;
    QSize shown_;
    PointerFn onPointer_;
    ClickFn onClick_;
};

}  // namespace zelkora
