#include "shell/app_settings.h"

#include <QDir>

namespace qb {
namespace {
constexpr const char* kGroup = "CfgEditor";
}

AppSettings::AppSettings()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            QStringLiteral("Rezurev2004"),
                                            QStringLiteral("Quillbay"))) {}

AppSettings::AppSettings(const QString& iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

QString AppSettings::value(const char* key) const {
    return settings_->value(QString::fromLatin1(kGroup) + "/" + key).toString();
}

void AppSettings::setValue(const char* key, const QString& value) {
    settings_->setValue(QString::fromLatin1(kGroup) + "/" + key, value);
    settings_->sync();
}

// Paths are kept and read back as the system spells them ('\\' on Windows), whatever
// wrote them: Qt's dialogs and an older settings file spell them with '/', and a path
// the user reads in a caption or a message is the system's.
QString AppSettings::path(const char* key) const {
    return QDir::toNativeSeparators(value(key));
}

void AppSettings::setPath(const char* key, const QString& path) {
    setValue(key, QDir::toNativeSeparators(path));
}

QString AppSettings::gamePath() const {
    return path("Path");
}

void AppSettings::setGamePath(const QString& path) {
    setPath("Path", path);
}

bool AppSettings::backups() const {
    return value("Backups") != QStringLiteral("false");
}

QStringList AppSettings::gridHiddenGroups() const {
    return value("GridHidden").split(QLatin1Char(','), Qt::SkipEmptyParts);
}

void AppSettings::setGridHiddenGroups(const QStringList& names) {
    setValue("GridHidden", names.join(QLatin1Char(',')));
}

QString AppSettings::patchFolder() const {
    return path("PatchFolder");
}

void AppSettings::setPatchFolder(const QString& folder) {
    setPath("PatchFolder", folder);
}

QString AppSettings::playerFolder() const {
    return path("PlayerFolder");
}

void AppSettings::setPlayerFolder(const QString& folder) {
    setPath("PlayerFolder", folder);
}

QString AppSettings::lastFile() const {
    return path("LastFile");
}

void AppSettings::setLastFile(const QString& path) {
    setPath("LastFile", path);
}

} // namespace qb
