#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace qb {

// The commentary-name list: 1,015 names, one a line, CR LF between lines and no line
// break after the last; each name 2 to 15 letters, spaces and hyphens with at most one
// apostrophe. Line n belongs to commentary number n.
inline constexpr int kCommentaryNames = 1015;

// The names of a list in that form, or nothing when the text is not one. A list
// written on Linux (LF line breaks, a final line break) is accepted too.
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
