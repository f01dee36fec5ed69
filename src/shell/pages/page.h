#pragma once

#include "codecs/player_sheet.h"
#include "player/roster_document.h"

#include <QWidget>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

// One tab of the window: a panel named picPicture_<tab> whose editors are bound to
// fields of the registry. Showing puts each field's editor value (a list's index, a
// slider's value, a box's state or a text) into its editor; reading puts it back.
class Page : public QWidget {
    Q_OBJECT

public:
    Page(int tab, QWidget* parent);

    int tab() const { return tab_; }
    virtual void showSheet(const PlayerSheet& sheet);
    virtual void readSheet(PlayerSheet& sheet) const;

    // A field whose editor shows another value than `sheet`, and that value.
    struct FieldChange {
        const Field* field;
        CellValue value;
    };
    // What the editors show that `sheet` does not, field by field (read-only fields aside).
    // An editor is compared only with the field it was given: one that still shows a
    // field the sheet no longer holds (another statistics format) has no change.
    std::vector<FieldChange> changes(const PlayerSheet& sheet) const;
    // Marks the captions of the fields shown whose keys are `changed`; returns whether the
    // page holds any of them.
    bool markChanged(const std::set<std::string>& changed, const PlayerSheet& sheet);
    // Whether the field of `key` is edited on this page.
    virtual bool holds(const std::string& key) const;

signals:
    // A user finished a change in an editor: a text box lost the focus or took Return,
    // a list entry was chosen, a box clicked or a slider moved.
    void edited();

protected:
    // The editor bound to the field of `key`; one the page has not bound is a programming
    // error.
    template <typename Editor> Editor* editorOf(std::string_view key) const {
        return static_cast<Editor*>(boundEditor(key));
    }
    // The registry's fields of `group`, in its order.
    static std::vector<const Field*> fieldsOf(FieldGroup group);
    // The field's caption, '&' before its access key.
    static QString captionOf(const Field& field);

    // The field whose value a bound editor shows while `sheet` is on screen.
    virtual const Field& fieldShown(const Field& bound, const PlayerSheet& sheet) const;

    void bind(const Field& field, QWidget* editor);
    // The name scripts know a field's editor by: "txt" for a text or number box, "cbo"
    // for a list, and the last part of the key, capitalised (the batting hand:
    // cboBattingHand).
    static QString editorNameOf(const Field& field);
    // The field's page editor (see createFieldEditor) under `parent`, bound to the field
    // and named `name`, or by editorNameOf without one.
    QWidget* addEditor(const Field& field, QWidget* parent, const char* name = nullptr);

private:
    struct Binding {
        const Field* field;
        QWidget* editor;
        QWidget* caption = nullptr; // found on first use: the pages add it after the editor
        // The field whose value the editor was last given: a statistics box shows the
        // figure of the format on screen, which the sheet may since have left.
        const Field* shown = nullptr;
    };
    QWidget* captionWidget(Binding& binding) const;
    QWidget* boundEditor(std::string_view key) const;
    int tab_;
    std::vector<Binding> bindings_;
};

} // namespace qb
