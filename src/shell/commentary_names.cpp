#include "shell/commentary_names.h"

#include <QFile>

namespace qb {

std::optional<QStringList> parseCommentaryNames(const QByteArray& text) {
    const auto names = qb::parseCommentaryNames(
        std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    if (!names) {
        return std::nullopt;
    }
    QStringList list;
    for (const std::string& name : *names) {
        list << QString::fromLatin1(name);
    }
    return list;
}

CommentaryList chooseCommentaryList(const QString& settingsFolder) {
    CommentaryList list;
    QFile user(settingsFolder + QStringLiteral("/Commentary.txt"));
    if (user.exists()) {
        if (user.open(QIODevice::ReadOnly)) {
            // A real list is about 9 KB; a far larger file is no list.
            const QByteArray text = user.read(64 * 1024);
            if (const auto names = parseCommentaryNames(text)) {
                return {text, *names, {}};
            }
        }
        list.warning =
            user.fileName() +
            QStringLiteral(" is not a list of 1,015 commentary names; the built-in list is used.");
    }
    const std::string_view builtIn = builtInCommentaryText();
    list.text = QByteArray(builtIn.data(), static_cast<qsizetype>(builtIn.size()));
    list.names = parseCommentaryNames(list.text).value_or(QStringList());
    return list;
}

} // namespace qb
