#include "shell/tools/edits_folder.h"

#include "player/roster_document.h"
#include "shell/app_settings.h"

#include <QFileInfo>

namespace qb {

QString editsFolder(const AppSettings& settings, const RosterDocument& document) {
    const QString last = settings.patchFolder();
    return !last.isEmpty() && QFileInfo(last).isDir()
               ? last
               : QFileInfo(QString::fromStdString(document.path())).absolutePath();
}

} // namespace qb
