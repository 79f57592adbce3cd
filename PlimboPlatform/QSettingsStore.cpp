#include "QSettingsStore.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>

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
    : m_fileName(filePath) {
    struct stat info;
    // Followed like QSettings would: a link to a regular file is a settings file.
    if (::stat(QFile::encodeName(filePath).constData(), &info) == 0 && !S_ISREG(info.st_mode)) {
        m_problem = QStringLiteral("Settings could not be read: “%1” is not a regular file. "
                                   "Changes are not saved until it is replaced by one.")
                        .arg(QFileInfo(filePath).fileName());
        return;
    }
    m_settings = std::make_unique<QSettings>(filePath, QSettings::IniFormat);
}

QSettingsStore::~QSettingsStore() = default;

bool QSettingsStore::contains(const QString& key) const {
    return m_settings ? m_settings->contains(key) : m_memory.contains(key);
}

QVariant QSettingsStore::value(const QString& key, const QVariant& defaultValue) const {
    return m_settings ? m_settings->value(key, defaultValue) : m_memory.value(key, defaultValue);
}

// Written through at once so another store over the same file (or a crash) loses nothing.
void QSettingsStore::setValue(const QString& key, const QVariant& value) {
    if (!m_settings) {
        m_memory.insert(key, value);
        return;
    }
    m_settings->setValue(key, value);
    m_settings->sync();
}

void QSettingsStore::remove(const QString& key) {
    if (!m_settings) {
        m_memory.remove(key);
        return;
    }
    m_settings->remove(key);
    m_settings->sync();
}

QString QSettingsStore::fileName() const {
    return m_settings ? m_settings->fileName() : m_fileName;
}

} // namespace plimbo
