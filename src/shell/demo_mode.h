#pragma once

#include <QString>

namespace qb {

// The demo's scratch folder: the demo roster and saved game, a stand-in game folder
// and a settings file of its own, so the user's settings are never touched.
struct DemoFolder {
    QString root;
    QString roster;
    QString savedGame;
    QString gameFolder;
    QString settingsFile;
};

// Whether preparing the demo keeps what the user saved into the demo files.
enum class DemoStart {
    KeepChanges, // only missing files are written
    Fresh,       // every demo file is written again
};

// Writes the demo files under `root` and returns their paths.
DemoFolder prepareDemoFolder(const QString& root, DemoStart start = DemoStart::KeepChanges);
// The same under the user's cache folder.
DemoFolder prepareDemoFolder(DemoStart start = DemoStart::KeepChanges);

} // namespace qb
