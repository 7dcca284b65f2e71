#include "shell/PictureView.h"

#include <QPainter>

static_assert(PictureView::fitSize({1113, 2000}, {466, 782}) == QSize(435, 782));
static_assert(PictureView::fitSize({2000, 1000}, {466, 782}) == QSize(466, 233));
static_assert(PictureView::fitSize({100, 100}, {466, 782}) == QSize(466, 466));
static_assert(PictureView::fitSize({5000, 1}, {466, 782}) == QSize(466, 1));

PictureView::PictureView(QWidget* parent) : QWidget(parent) {}

void PictureView::setPicture(TPngImage picture) {
    picture_ = std::move(picture);
    shown_ = fitSize(QSize(picture_.Width(), picture_.Height()), size());
    if (shown_.isEmpty()) {
        scaled_ = QPixmap();
    } else {
        // Premultiplied, so that smoothing does not drag the colour of transparent pixels in.
        const qreal ratio = devicePixelRatioF();
        const QImage image =
            picture_.toQImage()
                .convertToFormat(QImage::Format_ARGB32_Premultiplied)
                .scaled(shown_ * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaled_ = QPixmap::fromImage(image);
        scaled_.setDevicePixelRatio(ratio);
    }
    update();
}

void PictureView::paintEvent(QPaintEvent*) {
    if (!scaled_.isNull()) {
        QPainter(this).drawPixmap(0, 0, scaled_);
    }
}
