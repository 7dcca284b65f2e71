#include "shell/FigurePreview.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace zelkora {

namespace {

constexpr double kMmPerInch = 25.4;
// Room around the page, so that its edge shows against the widget.
constexpr int kBorder = 6;
const QColor kBackground(128, 128, 128);
const QColor kDrag(200, 30, 30);

}  // namespace

FigurePreview::FigurePreview(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

double FigurePreview::fittingDpi(QSizeF pageMm) const {
    const double w = std::max(1, width() - 2 * kBorder);
    const double h = std::max(1, height() - 2 * kBorder);
    if (pageMm.isEmpty()) {
        return 1.0;
    }
    return std::min(w / pageMm.width(), h / pageMm.height()) * kMmPerInch;
}

void FigurePreview::setPicture(const QImage& picture, QSizeF pageMm) {
    picture_ = picture;
    pageMm_ = pageMm;
    text_.clear();
    ++pictures_;
    update();
}

void FigurePreview::clearPicture(const QString& text) {
    picture_ = QImage();
    pageMm_ = QSizeF();
    text_ = text;
    dragFrame_.reset();
    update();
}

QRectF FigurePreview::pageRect() const {
    if (picture_.isNull()) {
        return {};
    }
    const QSizeF shown = picture_.deviceIndependentSize();
    return {QPointF((width() - shown.width()) / 2.0, (height() - shown.height()) / 2.0), shown};
}

QPointF FigurePreview::widgetFromMm(QPointF mm) const {
    const QRectF page = pageRect();
    if (page.isEmpty() || pageMm_.isEmpty()) {
        return {};
    }
    return page.topLeft() + QPointF(mm.x() * page.width() / pageMm_.width(),
                                    mm.y() * page.height() / pageMm_.height());
}

QPointF FigurePreview::mmFromWidget(QPointF position) const {
    const QRectF page = pageRect();
    if (page.isEmpty() || pageMm_.isEmpty()) {
        return {};
    }
    const QPointF p = position - page.topLeft();
    return {p.x() * pageMm_.width() / page.width(), p.y() * pageMm_.height() / page.height()};
}

QRectF FigurePreview::dragRect() const {
    const QRectF frame(widgetFromMm(dragFrame_->topLeft()),
                       widgetFromMm(dragFrame_->bottomRight()));
    const auto kept = [&](QPointF p) {
        return QPointF(std::clamp(p.x(), frame.left(), frame.right()),
                       std::clamp(p.y(), frame.top(), frame.bottom()));
    };
    return QRectF(kept(dragStart_), kept(dragEnd_)).normalized();
}

void FigurePreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    if (picture_.isNull()) {
        painter.setPen(Qt::white);
        painter.drawText(rect().adjusted(2 * kBorder, 2 * kBorder, -2 * kBorder, -2 * kBorder),
                         Qt::AlignCenter | Qt::TextWordWrap, text_);
        return;
    }
    painter.drawImage(pageRect().topLeft(), picture_);
    if (dragFrame_) {
        painter.setPen(QPen(kDrag, 1.5, Qt::DashLine));
        painter.setBrush(QColor(kDrag.red(), kDrag.green(), kDrag.blue(), 40));
        painter.drawRect(dragRect());
    }
}

void FigurePreview::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || picture_.isNull() || !onFrame_) {
        QWidget::mousePressEvent(event);
        return;
    }
    dragFrame_ = onFrame_(mmFromWidget(event->position()));
    dragStart_ = dragEnd_ = event->position();
    update();
}

void FigurePreview::mouseMoveEvent(QMouseEvent* event) {
    if (dragFrame_) {
        dragEnd_ = event->position();
        update();
    }
    if (onPointer_) {
        const QRectF page = pageRect();
        onPointer_(page.contains(event->position()) ? std::optional(mmFromWidget(event->position()))
                                                    : std::nullopt);
    }
}

void FigurePreview::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragFrame_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    dragEnd_ = event->position();
    const QRectF drawn = dragRect();
    dragFrame_.reset();
    update();
    if (drawn.width() >= kMinDragPixels && drawn.height() >= kMinDragPixels && onRectangle_) {
        onRectangle_(QRectF(mmFromWidget(drawn.topLeft()), mmFromWidget(drawn.bottomRight())));
    }
}

void FigurePreview::leaveEvent(QEvent* event) {
    if (onPointer_) {
        onPointer_(std::nullopt);
    }
    QWidget::leaveEvent(event);
}

void FigurePreview::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (onResize_) {
        onResize_();
    }
}

}  // namespace zelkora
