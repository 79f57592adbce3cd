#include "QSettingsStore.h"

#include <QStandardPaths>

namespace plimbo {

namespace {

// QSettings' own IniFormat/UserScope location ends in ".ini"; the file is "Plimbo.conf" in
// the "Plimbo" folder of the user's config directory, as NativeFormat would name it.
QString defaultFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Plimbo/Plimbo.conf");
}

} // namespace

QSettingsStore::QSettingsStore()
    : QSettingsStore(defaultFilePath()) {}

QSettingsStore::QSettingsStore(const QString& filePath)
    : m_settings(std::make_unique<QSettings>(filePath, QSettings::IniFormat)) {}

QSettingsStore::~QSettingsStore() = default;

bool QSettingsStore::contains(const QString& key) const {
    return m_settings->contains(key);
}

QVariant QSettingsStore::value(const QString& key, const QVariant& defaultValue) const {
    return m_settings->value(key, defaultValue);
}

// Written through at once so another store over the same file (or a crash) loses nothing.
void QSettingsStore::setValue(const QString& key, const QVariant& value) {
    m_settings->setValue(key, value);
    m_settings->sync();
}

void QSettingsStore::remove(const QString& key) {
    m_settings->remove(key);
    m_settings->sync();
}

QString QSettingsStore::fileName() const {
    return m_settings->fileName();
}

} // namespace plimbo
