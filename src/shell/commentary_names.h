#pragma once

#include "player/commentary_names.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace qb {

// The names of a commentary-name list (see player/commentary_names.h), or nothing when
// the text is not one.
std::optional<QStringList> parseCommentaryNames(const QByteArray& text);

// The list to use: `Commentary.txt` in `settingsFolder` when it holds a list in the
// right form, else the built-in one. `warning` is set when a user file was refused.
struct CommentaryList {
    QByteArray text;
    QStringList names;
    QString warning;
};
CommentaryList chooseCommentaryList(const QString& settingsFolder);

} // namespace qb
