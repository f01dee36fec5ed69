#include "shell/tools/edits_folder.h"

#include "player/roster_document.h"
#include "shell/app_settings.h"

#include <QDir>
#include <QFileInfo>

namespace qb {

QString startFolder(const QString& lastUsed, const std::string& rosterPath) {
    return QDir::toNativeSeparators(
        !lastUsed.isEmpty() && QFileInfo(lastUsed).isDir()
            ? lastUsed
            : QFileInfo(QString::fromStdString(rosterPath)).absolutePath());
}

QString editsFolder(const AppSettings& settings, const RosterDocument& document) {
    return startFolder(settings.patchFolder(), document.path());
}

} // namespace qb
