#include "shell/pages/page.h"

#include "shell/field_editor.h"
#include "shell/pages/widgets.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <algorithm>
#include <stdexcept>

namespace qb {

Page::Page(int tab, QWidget* parent) : QWidget(parent), tab_(tab) {
    setObjectName(QStringLiteral("picPicture_%1").arg(tab));
    setGeometry(twips(200, 1250, 4300, 5070));
}

QString Page::editorNameOf(const Field& field) {
    const bool typed = field.kind == FieldKind::Text || field.kind == FieldKind::Number;
    QString name = QString::fromStdString(field.key.substr(field.key.rfind('.') + 1));
    name[0] = name[0].toUpper();
    return (typed ? QStringLiteral("txt") : QStringLiteral("cbo")) + name;
}

QWidget* Page::boundEditor(std::string_view key) const {
    const auto found = std::ranges::find_if(
        bindings_, [key](const Binding& binding) { return binding.field->key == key; });
    if (found == bindings_.end()) {
        throw std::logic_error("no editor for " + std::string(key));
    }
    return found->editor;
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

QWidget* Page::addEditor(const Field& field, QWidget* parent, const char* name) {
    QWidget* editor = named(createFieldEditor(field, EditorPlace::Page, parent),
                            name != nullptr ? QString::fromLatin1(name) : editorNameOf(field));
    bind(field, editor);
    return editor;
}

void Page::showSheet(const PlayerSheet& sheet) {
    for (Binding& binding : bindings_) {
        binding.shown = &fieldShown(*binding.field, sheet);
        showEditorValue(binding.editor, readCell(*binding.field, sheet));
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
        CellValue value = editorValue(binding.editor);
        if (value != readCell(shown, sheet)) {
            found.push_back({&shown, std::move(value)});
        }
    }
    return found;
}

void Page::readSheet(PlayerSheet& sheet) const {
    for (const Binding& binding : bindings_) {
        writeCell(*binding.field, sheet, editorValue(binding.editor));
    }
}

} // namespace qb
