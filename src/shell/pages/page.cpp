#include "shell/pages/page.h"

#include "shell/editors.h"
#include "shell/pages/widgets.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <cctype>
#include <stdexcept>

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

bool typed(const Field& field) {
    return field.kind == FieldKind::Text || field.kind == FieldKind::Number;
}

std::string editorNameOf(const Field& field) {
    std::string name = field.key.substr(field.key.rfind('.') + 1);
    name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    return (typed(field) ? "txt" : "cbo") + name;
}

} // namespace

Page::Page(int tab, QWidget* parent) : QWidget(parent), tab_(tab) {
    setObjectName(QStringLiteral("picPicture_%1").arg(tab));
    setGeometry(twips(200, 1250, 4300, 5070));
}

const Field& Page::fieldOf(std::string_view editorName) {
    for (const Field& candidate : fieldRegistry()) {
        if (editorNameOf(candidate) == editorName) {
            return candidate;
        }
    }
    throw std::logic_error("no field for " + std::string(editorName));
}

std::vector<const Field*> Page::fieldsOf(FieldGroup group) {
    std::vector<const Field*> fields;
    for (const Field& candidate : fieldRegistry()) {
        if (candidate.group == group) {
            fields.push_back(&candidate);
        }
    }
    return fields;
}

QString Page::captionOf(const Field& field) {
    return QString::fromStdString(field.caption);
}

const Field& Page::fieldShown(const Field& bound, const PlayerSheet&) const {
    return bound;
}

bool Page::holds(const std::string& key) const {
    return std::ranges::any_of(
        bindings_, [&key](const Binding& binding) { return binding.field->key == key; });
}

QWidget* Page::captionWidget(Binding& binding) const {
    if (binding.caption == nullptr) {
        // A box's own text, a label naming the editor, or the frame the editor stands in.
        binding.caption = qobject_cast<QAbstractButton*>(binding.editor);
        for (QLabel* label : findChildren<QLabel*>()) {
            if (binding.caption == nullptr && label->buddy() == binding.editor) {
                binding.caption = label;
            }
        }
        if (binding.caption == nullptr) {
            binding.caption = qobject_cast<QGroupBox*>(binding.editor->parentWidget());
        }
    }
    return binding.caption;
}

bool Page::markChanged(const std::set<std::string>& changed, const PlayerSheet& sheet) {
    for (Binding& binding : bindings_) {
        if (QWidget* caption = captionWidget(binding)) {
            markUnsaved(caption, changed.contains(fieldShown(*binding.field, sheet).key));
        }
    }
    return std::ranges::any_of(changed, [this](const std::string& key) { return holds(key); });
}

void Page::bind(const Field& field, QWidget* editor) {
    bindings_.push_back({&field, editor});
    if (auto* box = qobject_cast<QLineEdit*>(editor)) {
        connect(box, &QLineEdit::editingFinished, this, &Page::edited);
    } else if (auto* slider = qobject_cast<QSlider*>(editor)) {
        connect(slider, &QSlider::valueChanged, this, &Page::edited);
    } else if (auto* flag = qobject_cast<QCheckBox*>(editor)) {
        connect(flag, &QCheckBox::clicked, this, &Page::edited);
    } else {
        connect(qobject_cast<QComboBox*>(editor), &QComboBox::activated, this, &Page::edited);
    }
}

QWidget* Page::addEditor(const Field& field, QWidget* parent) {
    const QString name = QString::fromStdString(editorNameOf(field));
    QWidget* editor = nullptr;
    if (typed(field)) {
        editor = named(new QLineEdit(parent), name);
    } else {
        auto* list = choiceList(parent, name);
        for (const std::string_view entry : field.choices) {
            list->addItem(qView(entry));
        }
        if (field.kind == FieldKind::NumberList) {
            for (int number = field.low; number <= field.high; ++number) {
                list->addItem(QString::number(number));
            }
        }
        // Filling a list selects its first entry; nothing is selected until a player is shown.
        list->setCurrentIndex(-1);
        editor = list;
    }
    bind(field, editor);
    return editor;
}

void Page::showSheet(const PlayerSheet& sheet) {
    for (Binding& binding : bindings_) {
        binding.shown = &fieldShown(*binding.field, sheet);
        if (auto* box = qobject_cast<QLineEdit*>(binding.editor)) {
            box->setText(QString::fromStdString(binding.field->text(sheet)));
        } else {
            showNumber(binding.editor, binding.field->number(sheet));
        }
    }
}

std::vector<Page::FieldChange> Page::changes(const PlayerSheet& sheet) const {
    std::vector<FieldChange> found;
    for (const Binding& binding : bindings_) {
        if (binding.field->readOnly()) {
            continue;
        }
        const Field& shown = fieldShown(*binding.field, sheet);
        if (binding.shown != &shown) {
            continue;
        }
        const auto* box = qobject_cast<const QLineEdit*>(binding.editor);
        CellValue value = box != nullptr ? CellValue(box->text().toStdString())
                                         : CellValue(readNumber(binding.editor));
        if (value != readCell(shown, sheet)) {
            found.push_back({&shown, std::move(value)});
        }
    }
    return found;
}

void Page::readSheet(PlayerSheet& sheet) const {
    for (const Binding& binding : bindings_) {
        const SheetCell cell = binding.field->cell(sheet);
        if (auto* const* text = std::get_if<std::string*>(&cell)) {
            **text = qobject_cast<const QLineEdit*>(binding.editor)->text().toStdString();
        } else {
            *std::get<int*>(cell) = readNumber(binding.editor);
        }
    }
}

} // namespace qb
