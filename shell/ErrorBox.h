#pragma once

#include <QFont>
#include <QStringList>
#include <memory>

class QMessageBox;
class QWidget;

namespace zelkora {

// The window's error box. Its text is the message wrapped to the box's width, at word breaks
// where it can and anywhere inside a word that is wider, so nothing is cut at the box's edge.
// A message longer than kMaxLines such lines shows its first lines, and whole in the box's
// scrolled details.
class ErrorBox {
  public:
    static constexpr int kTextWidth = 400;
    static constexpr int kMaxLines = 12;

    // The box for message, ready to exec().
    static std::unique_ptr<QMessageBox> create(QWidget* parent, const QString& message);

    // message broken into lines no wider than width pixels in font; its own line breaks stay.
    static QStringList wrap(const QString& message, const QFont& font, int width);
};

}  // namespace zelkora
