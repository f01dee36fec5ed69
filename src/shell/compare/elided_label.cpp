#include "shell/compare/elided_label.h"

#include <QResizeEvent>

namespace qb {

ElidedLabel::ElidedLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent), whole_(text) {
    setToolTip(text);
}

QSize ElidedLabel::minimumSizeHint() const {
    return {fontMetrics().averageCharWidth() * 8, QLabel::minimumSizeHint().height()};
}

QSize ElidedLabel::sizeHint() const {
    return minimumSizeHint();
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    setText(fontMetrics().elidedText(whole_, Qt::ElideMiddle, contentsRect().width()));
    QLabel::resizeEvent(event);
}

} // namespace qb
