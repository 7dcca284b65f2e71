#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

namespace zelkora {

// The figure dialog's preview: a picture of the figure's page, centred in the widget, on which a
// rectangle can be drawn with the mouse. Positions are given in millimetres on the page, so the
// dialog maps them through the figure's layout whatever the preview's resolution.
class FigurePreview : public QWidget {
  public:
    // The frame a drag may start on: the rectangle on the page that holds position, where the
    // drawn rectangle is then kept; nothing where no rectangle can start.
    using FrameFn = std::function<std::optional<QRectF>(QPointF mm)>;
    // A rectangle drawn within a frame, in millimetres on the page.
    using RectangleFn = std::function<void(const QRectF& mm)>;
    // The page's point under the pointer; nothing when the pointer is off the page.
    using PointerFn = std::function<void(std::optional<QPointF> mm)>;

    // A drag shorter than this many pixels either way is a click, and draws nothing.
    static constexpr int kMinDragPixels = 6;

    explicit FigurePreview(QWidget* parent = nullptr);

    // The size the preview opens at; it takes any size down to its minimum, so that messages
    // shown below it take its room rather than make the dialog taller.
    QSize sizeHint() const override { return {560, 620}; }

    void setOnFrame(FrameFn fn) { onFrame_ = std::move(fn); }
    void setOnRectangle(RectangleFn fn) { onRectangle_ = std::move(fn); }
    void setOnPointer(PointerFn fn) { onPointer_ = std::move(fn); }
    // The widget took a new size, at which the page would be drawn at another resolution.
    void setOnResize(std::function<void()> fn) { onResize_ = std::move(fn); }

    // The resolution at which a page of pageMm fills the widget, its aspect ratio kept.
    double fittingDpi(QSizeF pageMm) const;
    // Shows picture as the page of pageMm; its device pixel ratio is honoured.
    void setPicture(const QImage& picture, QSizeF pageMm);
    // Shows no page, only text (a reason), in grey.
    void clearPicture(const QString& text);
    const QImage& picture() const { return picture_; }
    // How many pictures have been shown.
    int pictures() const { return pictures_; }

    // Where a point of the page is shown in the widget, and the other way round.
    QPointF widgetFromMm(QPointF mm) const;
    QPointF mmFromWidget(QPointF position) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QRectF pageRect() const;  // where the page is shown, in the widget's pixels
    QRectF dragRect() const;  // the drag so far, within its frame, in the widget's pixels

    QImage picture_;
    QSizeF pageMm_;
    QString text_;
    int pictures_ = 0;
    std::optional<QRectF> dragFrame_;  // millimetres
    QPointF dragStart_;
    QPointF dragEnd_;
    FrameFn onFrame_;
    RectangleFn onRectangle_;
    PointerFn onPointer_;
    std::function<void()> onResize_;
};

}  // namespace zelkora
