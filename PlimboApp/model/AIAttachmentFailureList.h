#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <exception>

namespace plimbo {

class PlimboError;

// The failures of one attachment ingestion, shown together in one alert: one line per file,
// "<file name>: <description>", in the order they happened, joined by line feeds.
class AIAttachmentFailureList {
public:
    // A file that was refused or could not be stored. The name is the file's own last path
    // component, not the name it would have been stored under.
    void add(const QUrl& fileURL, const QString& description);
    void add(const QUrl& fileURL, const PlimboError& error);
    // As above, for the failure a future carried: a PlimboError gives its description, any
    // other exception its message.
    void add(const QUrl& fileURL, const std::exception_ptr& error);
    // The line for the pending list being full; it names no file.
    void addFileLimitReached();

    bool isEmpty() const { return m_lines.isEmpty(); }
    const QStringList& lines() const { return m_lines; }
    // Every line joined with "\n"; empty when nothing failed.
    QString message() const { return m_lines.join(u'\n'); }

private:
    QStringList m_lines;
};

} // namespace plimbo
