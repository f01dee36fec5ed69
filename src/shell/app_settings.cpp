#include "shell/app_settings.h"

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

QString AppSettings::gamePath() const {
    return value("Path");
}

void AppSettings::setGamePath(const QString& path) {
    setValue("Path", path);
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
    return value("PatchFolder");
}

void AppSettings::setPatchFolder(const QString& folder) {
    setValue("PatchFolder", folder);
}

QString AppSettings::lastFile() const {
    return value("LastFile");
}

void AppSettings::setLastFile(const QString& path) {
    setValue("LastFile", path);
}

} // namespace qb
