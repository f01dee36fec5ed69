#include "shell/pages/page.h"

#include "shell/editors.h"
#include "shell/pages/widgets.h"

#include <QComboBox>
#include <QLineEdit>

namespace qb {
namespace {

void showNumber(QWidget* editor, int value) {
    if (auto* box = qobject_cast<ThreeStateBox*>(editor)) {
        box->setState(value);
    } else if (auto* flag = qobject_cast<QCheckBox*>(editor)) {
        flag->setChecked(value == 1);
    } else if (auto* slider = qobject_cast<QSlider*>(editor)) {
        slider->setValue(value);
    } else {
        qobject_cast<QComboBox*>(editor)->setCurrentIndex(value);
    }
}

int readNumber(const QWidget* editor) {
    if (const auto* box = qobject_cast<const ThreeStateBox*>(editor)) {
        return box->state();
    }
    if (const auto* flag = qobject_cast<const QCheckBox*>(editor)) {
        return flag->isChecked() ? 1 : 0;
    }
    if (const auto* slider = qobject_cast<const QSlider*>(editor)) {
        return slider->value();
    }
    return qobject_cast<const QComboBox*>(editor)->currentIndex();
}

} // namespace

Page::Page(int tab, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picPicture_%1").arg(tab));
    setGeometry(twips(200, 1250, 4300, 5070));
}

void Page::bind(QWidget* editor, Cell cell) {
    bindings_.push_back({editor, std::move(cell)});
}

void Page::showSheet(const PlayerSheet& sheet) {
    PlayerSheet shown = sheet;
    for (const Binding& binding : bindings_) {
        const SheetCell cell = binding.cell(shown);
        if (const auto* text = std::get_if<std::string*>(&cell)) {
            qobject_cast<QLineEdit*>(binding.editor)->setText(QString::fromStdString(**text));
        } else {
            showNumber(binding.editor, *std::get<int*>(cell));
        }
    }
}

void Page::readSheet(PlayerSheet& sheet) const {
    for (const Binding& binding : bindings_) {
        const SheetCell cell = binding.cell(sheet);
        if (auto* const* text = std::get_if<std::string*>(&cell)) {
            **text = qobject_cast<const QLineEdit*>(binding.editor)->text().toStdString();
        } else {
            *std::get<int*>(cell) = readNumber(binding.editor);
        }
    }
}

} // namespace qb
