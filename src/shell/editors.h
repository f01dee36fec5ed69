#pragma once

#include <QCheckBox>
#include <QSlider>
#include <QSpinBox>

namespace qb {

struct Field;

// A rating slider, 0 to 63, whose tips show the rating as a percentage: on hover,
// and beside the thumb while it moves.
class RatingSlider : public QSlider {
    Q_OBJECT

public:
    explicit RatingSlider(QWidget* parent = nullptr);
    QString tipText() const;

private:
    void showDragTip();
};

// A check box that shows three states (the "Injury Free" byte may hold 2, shown
// greyed) but that a click only toggles between clear and ticked.
class ThreeStateBox : public QCheckBox {
    Q_OBJECT

public:
    explicit ThreeStateBox(const QString& caption, QWidget* parent = nullptr);
    int state() const;
    void setState(int state);

protected:
    void nextCheckState() override;
};

// A grid cell's box for a rating or a number list that also takes "+=N" and "-=N" typed
// into it, as the bulk dialog does: the model moves the number shown by N (see
// RosterGridModel::typedEdit). Anything else is a number in the field's range.
class RelativeSpinBox : public QSpinBox {
    Q_OBJECT

public:
    RelativeSpinBox(const Field& field, QWidget* parent);
    // The relative edit typed, or nothing when the box holds a number.
    const QString& relativeText() const { return relative_; }

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;

private:
    const Field& field_;
    QString relative_;
};

} // namespace qb
