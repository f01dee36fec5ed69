#include "shell/unshowable_player.h"

#include "player/field_registry.h"

#include <QDir>
#include <QStringList>

namespace qb {

QString unshowablePlayerText(const std::vector<FieldFailure>& failures, const std::string& path,
                             int slot, const QString& name) {
    QStringList lines;
    for (const FieldFailure& failure : failures) {
        const Field* field = findField(failure.field);
        const QString key = QString::fromStdString(failure.field);
        QString named = field != nullptr ? QString::fromStdString(field->caption).remove(u'&') +
                                               QStringLiteral(" (") + key + u')'
                                         : key;
        lines << QString::fromStdString(failure.message) + QStringLiteral(": ") + named +
                     (failure.value.empty() ? QString()
                                            : QStringLiteral(", stored value ") +
                                                  QString::fromStdString(failure.value));
    }
    lines << QStringLiteral("File: %1, slot %2 (%3)")
                 .arg(QDir::toNativeSeparators(QString::fromStdString(path)))
                 .arg(slot)
                 .arg(name);
    return lines.join(u'\n');
}

} // namespace qb
