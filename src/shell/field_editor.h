#pragma once

#include "player/roster_document.h"

#include <QString>

class QWidget;

namespace qb {

// Where a field's editor stands. A page shows a field as its form does: a slider for a
// rating, a list of every entry and number for a number list, a box captioned with the
// field, digits only in a number's box and a rate read only. A grid cell edits in place:
// a rating or a number list in a spin box that also takes "+=N" and "-=N", boxes without
// captions, every text in a plain box (the registry checks what is typed).
enum class EditorPlace { Page, Cell };

// The editor of `field`'s kind for `place`, under `parent`, showing nothing yet. The caller
// names it as scripts, tests and the companion program know it.
QWidget* createFieldEditor(const Field& field, EditorPlace place, QWidget* parent);

// An editor's value as a sheet holds it: a list's index, a slider's or a spin box's value,
// a box's state (0 clear, 1 ticked, 2 greyed) or a text box's text.
void showEditorValue(QWidget* editor, const CellValue& value);
CellValue editorValue(const QWidget* editor);

// An editor's value as the text its field takes: a list's entry, "true" or "false" for a
// flag, a number, a text, or the "+=N" or "-=N" typed into a spin box.
void showEditorText(QWidget* editor, const QString& text);
QString editorText(const QWidget* editor);

} // namespace qb
