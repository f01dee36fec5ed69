#include "shell/demo_mode.h"

#include "codecs/demo_roster.h"
#include "images/demo_game.h"
#include "player/demo_files.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace qb {

DemoFolder prepareDemoFolder(DemoStart start) {
    return prepareDemoFolder(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                                 QStringLiteral("/demo"),
                             start);
}

DemoFolder prepareDemoFolder(const QString& root, DemoStart start) {
    const bool fresh = start == DemoStart::Fresh;
    const DemoFolder folder{root, root + QStringLiteral("/demo.pak"),
                            root + QStringLiteral("/demo.sav"), root + QStringLiteral("/game"),
                            root + QStringLiteral("/settings.ini")};
    QDir().mkpath(root);
    writeDemoFiles(root.toStdString(),
                   fresh ? ExistingDemoFiles::Replace : ExistingDemoFiles::Keep);
    // Nothing edits the stand-in game folder; it is written when missing or asked for.
    if (fresh || !QFileInfo::exists(folder.gameFolder)) {
        writeDemoGameFolder(folder.gameFolder.toStdString());
    }
    return folder;
}

} // namespace qb
