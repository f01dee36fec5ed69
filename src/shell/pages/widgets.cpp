#include "shell/pages/widgets.h"

#include "shell/picture_box.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace qb {

QRect twips(int left, int top, int width, int height) {
    constexpr int k = kTwipsPerPixel;
    return {left / k, top / k, width / k, height / k};
}

QRect twips(const QRect& place) {
    return twips(place.left(), place.top(), place.width(), place.height());
}

QLabel* caption(QWidget* parent, const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

QComboBox* choiceList(QWidget* parent, const QString& name) {
    auto* box = named(new QComboBox(parent), name);
    box->setEditable(false);
    return box;
}

void digitsOnly(QLineEdit* box) {
    box->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
}

QVBoxLayout* compactColumn(QWidget* frame) {
    auto* column = new QVBoxLayout(frame);
    column->setSpacing(0);
    column->setContentsMargins(6, 2, 4, 2);
    return column;
}

void markUnsaved(QWidget* caption, bool unsaved) {
    if (caption->property("unsaved").toBool() == unsaved) {
        return;
    }
    caption->setProperty("unsaved", unsaved);
    // A frame's title alone is marked, not the editors within it. The mark is a colour
    // only: a bold caption grows wider than the place laid out for it and is cut off
    // ("Highest Scor").
    const bool frame = qobject_cast<QGroupBox*>(caption) != nullptr;
    caption->setStyleSheet(!unsaved ? QString()
                           : frame  ? QStringLiteral("QGroupBox::title { color: #c00000; }")
                                    : QStringLiteral("color: #c00000;"));
}

QString qView(std::string_view view) {
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
}

} // namespace qb
