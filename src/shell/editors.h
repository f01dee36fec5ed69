#pragma once

#include <QCheckBox>
#include <QSlider>

namespace qb {

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

} // namespace qb
