#include "shell/commentary_names.h"

#include <QFile>
#include <QRegularExpression>

namespace qb {

std::optional<QStringList> parseCommentaryNames(const QByteArray& text) {
    QString body = QString::fromLatin1(text);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (body.endsWith(QLatin1Char('\n'))) {
        body.chop(1);
    }
    const QStringList names = body.split(QLatin1Char('\n'));
    static const QRegularExpression kName(QStringLiteral("^[A-Za-z' -]{2,15}$"));
    if (names.size() != kCommentaryNames) {
        return std::nullopt;
    }
    for (const QString& name : names) {
        if (!kName.match(name).hasMatch() || name.count(QLatin1Char('\'')) > 1) {
            return std::nullopt;
        }
    }
    return names;
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
    QFile builtIn(QStringLiteral(":/data/commentary-names.txt"));
    builtIn.open(QIODevice::ReadOnly);
    list.text = builtIn.readAll();
    list.names = parseCommentaryNames(list.text).value_or(QStringList());
    return list;
}

} // namespace qb
