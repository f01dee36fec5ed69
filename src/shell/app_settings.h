#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>

namespace qb {

// The two persistent settings, in the per-user settings store: INI format,
// organisation "Rezurev2004", group "CfgEditor", keys "Path" and "LastFile". A
// missing key reads as the empty text. Demo mode keeps its own file.
class AppSettings {
public:
    AppSettings();                                // the user's settings
    explicit AppSettings(const QString& iniFile); // a settings file of its own

    QString gamePath() const;
    void setGamePath(const QString& path);
    QString lastFile() const;
    void setLastFile(const QString& path);
    // Copy a roster before its first write in a session, and again after another program
    // changed it (key "Backups", default on).
    bool backups() const;
    // The column groups the roster grid hides, by name (key "GridHidden"; none by default).
    QStringList gridHiddenGroups() const;
    void setGridHiddenGroups(const QStringList& names);
    // The folder a patch was last saved in or an edits file applied from (key
    // "PatchFolder"; empty until one is).
    QString patchFolder() const;
    void setPatchFolder(const QString& folder);
    // The folder a player file was last exported to or imported from (key
    // "PlayerFolder"; empty until one is).
    QString playerFolder() const;
    void setPlayerFolder(const QString& folder);
    QString fileName() const { return settings_->fileName(); }

private:
    QString value(const char* key) const;
    void setValue(const char* key, const QString& value);
    QString path(const char* key) const;
    void setPath(const char* key, const QString& path);
    std::unique_ptr<QSettings> settings_;
};

} // namespace qb
