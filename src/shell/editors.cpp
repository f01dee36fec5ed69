#include "shell/editors.h"

#include "codecs/ratings.h"

#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolTip>

namespace qb {

RatingSlider::RatingSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setRange(0, kMaxRating);
    setSingleStep(1);
    setPageStep(5);
    setToolTip(tipText());
    connect(this, &QSlider::valueChanged, this, [this] { setToolTip(tipText()); });
    connect(this, &QSlider::sliderMoved, this, &RatingSlider::showDragTip);
    connect(this, &QSlider::actionTriggered, this, [this] {
        QMetaObject::invokeMethod(this, &RatingSlider::showDragTip, Qt::QueuedConnection);
    });
}

QString RatingSlider::tipText() const {
    return QString::number(ratingPercent(value()));
}

void RatingSlider::showDragTip() {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    QToolTip::showText(mapToGlobal(handle.topRight()), tipText(), this);
}

ThreeStateBox::ThreeStateBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {
    setTristate(true);
}

int ThreeStateBox::state() const {
    switch (checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

void ThreeStateBox::setState(int state) {
    setCheckState(state == 1 ? Qt::Checked : state == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

void ThreeStateBox::nextCheckState() {
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

} // namespace qb
