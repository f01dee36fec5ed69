#include "shell/demo_mode.h"

#include "codecs/demo_roster.h"
#include "images/demo_game.h"

#include <QDir>
#include <QStandardPaths>

namespace qb {

DemoFolder prepareDemoFolder() {
    return prepareDemoFolder(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                             QStringLiteral("/demo"));
}

DemoFolder prepareDemoFolder(const QString& root) {
    QDir().mkpath(root);
    writeDemoFiles(root.toStdString());
    writeDemoGameFolder((root + QStringLiteral("/game")).toStdString());
    return {root + QStringLiteral("/demo.pak"), root + QStringLiteral("/demo.sav"),
            root + QStringLiteral("/game"), root + QStringLiteral("/settings.ini")};
}

} // namespace qb
