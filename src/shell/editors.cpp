#include "shell/editors.h"

#include "codecs/ratings.h"
#include "player/relative_edit.h"

#include <QLineEdit>
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

RelativeSpinBox::RelativeSpinBox(const Field& field, QWidget* parent)
    : QSpinBox(parent), field_(field) {
    setRange(field.low, field.high);
    // Kept as typed: on Return the box puts its number back before the delegate reads
    // what was typed.
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString typed = text.trimmed();
        relative_ = typedStep(field_, typed.toStdString()) ? typed : QString();
    });
}

QValidator::State RelativeSpinBox::validate(QString& input, int& pos) const {
    const QString typed = input.trimmed();
    if (!typed.startsWith(QLatin1Char('+')) && !typed.startsWith(QLatin1Char('-'))) {
        return QSpinBox::validate(input, pos);
    }
    if (typedStep(field_, typed.toStdString())) {
        return QValidator::Acceptable;
    }
    // "+", "-=", "+= " on the way to a relative edit.
    return typed.size() == 1 || typed == QLatin1String("+=") || typed == QLatin1String("-=")
               ? QValidator::Intermediate
               : QValidator::Invalid;
}

int RelativeSpinBox::valueFromText(const QString& text) const {
    return relative_.isEmpty() ? QSpinBox::valueFromText(text) : value();
}

} // namespace qb
