#pragma once

#include "codecs/player_sheet.h"
#include "player/field_registry.h"

#include <QWidget>
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

    virtual void showSheet(const PlayerSheet& sheet);
    virtual void readSheet(PlayerSheet& sheet) const;

protected:
    // The field an editor of this name shows (see addEditor); a name no field has is a
    // programming error.
    static const Field& fieldOf(std::string_view editorName);
    // The registry's fields of `group`, in its order.
    static std::vector<const Field*> fieldsOf(FieldGroup group);
    // The field's caption, '&' before its access key.
    static QString captionOf(const Field& field);

    void bind(const Field& field, QWidget* editor);
    // A text box (text and number fields) or a drop-down list filled with the field's
    // entries, under `parent`, bound to the field and named as scripts know it: "txt"
    // or "cbo" and the last part of the key, capitalised (the batting hand: cboBattingHand).
    QWidget* addEditor(const Field& field, QWidget* parent);

private:
    struct Binding {
        const Field* field;
        QWidget* editor;
    };
    std::vector<Binding> bindings_;
};

} // namespace qb
