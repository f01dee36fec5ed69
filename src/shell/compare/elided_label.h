#pragma once

#include <QLabel>

namespace qb {

// A label for a long text such as a path: shown elided in the middle to the width it is
// given, whole in its tooltip. It asks for no more width than a few characters, so a
// long path does not squeeze the widgets beside it.
class ElidedLabel : public QLabel {
public:
    ElidedLabel(const QString& text, QWidget* parent);
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QString whole_;
};

} // namespace qb
