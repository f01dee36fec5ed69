#pragma once

#include <QComboBox>
#include <QLabel>
#include <QRect>
#include <QString>
#include <string_view>

class QLineEdit;
class QVBoxLayout;

namespace qb {

// Positions and sizes in twips, 15 to a logical pixel.
QRect twips(int left, int top, int width, int height);
QRect twips(const QRect& place);

// The widget under the name scripts, tests and the companion program know it by.
template <typename Widget> Widget* named(Widget* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

// A label whose access key moves the focus to `buddy`.
QLabel* caption(QWidget* parent, const QString& text, QWidget* buddy);
// A drop-down list that accepts only its own entries.
QComboBox* choiceList(QWidget* parent, const QString& name);
// Typing takes only digits; text the program sets is not filtered.
void digitsOnly(QLineEdit* box);
// Frames of check boxes stand close together so a tab holds them all.
QVBoxLayout* compactColumn(QWidget* frame);
QString qView(std::string_view view);
// Marks a caption (a label, a box's text, a frame's title or a tab) as showing a value
// not yet saved: red, and the property "unsaved" set.
void markUnsaved(QWidget* caption, bool unsaved);

} // namespace qb
