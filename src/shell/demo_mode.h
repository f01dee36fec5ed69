#pragma once

#include <QString>

namespace qb {

// The demo's scratch folder: the demo roster and saved game, a stand-in game folder
// and a settings file of its own, so the user's settings are never touched.
struct DemoFolder {
    QString roster;
    QString savedGame;
    QString gameFolder;
    QString settingsFile;
};

// Writes the demo files under `root` (again each time, so a demo edited in an earlier
// run starts fresh) and returns their paths.
DemoFolder prepareDemoFolder(const QString& root);
// The same under the user's cache folder.
DemoFolder prepareDemoFolder();

} // namespace qb
