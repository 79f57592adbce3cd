#pragma once

#include "GcrSecretExchange.h"

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QHash>

#include <memory>

namespace plimbo::test {

// Stands in for the desktop's prompter (gcr's org.gnome.keyring.SystemPrompter), which
// gnome-keyring-daemon asks to show its unlock prompt: BeginPrompting, PerformPrompt and
// StopPrompting on org.gnome.keyring.internal.Prompter, answered through the daemon's
// org.gnome.keyring.internal.Prompter.Callback. Each prompt is answered as the test says:
// with a password (handed over through gcr's secret exchange), dismissed, or never.
class StandInPrompter : public QDBusVirtualObject {
public:
    enum class Answer { password, dismiss, never };

    StandInPrompter(Answer answer, int delayMs = 0, QByteArray password = {});
    ~StandInPrompter() override;

    // Takes the prompter's name and object on the connection.
    bool registerOn(const QDBusConnection& connection);

    int promptsShown() const { return m_promptsShown; }
    int promptsAnswered() const { return m_promptsAnswered; }
    int promptsStopped() const { return m_promptsStopped; }
    // When the first prompt was shown (milliseconds since the epoch); 0 before that.
    qint64 firstShownAt() const { return m_firstShownAt; }

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    struct Prompt {
        GcrSecretExchange exchange;
    };

    void ready(const QDBusConnection& connection, const QString& caller, const QString& callback,
               const QString& reply, const QByteArray& exchange);
    void answer(QDBusConnection connection, QString caller, QString callback);

    Answer m_answer;
    int m_delayMs;
    QByteArray m_password;
    QString m_connectionName;
    QHash<QString, std::shared_ptr<Prompt>> m_prompts; // by caller and callback path
    int m_promptsShown = 0;
    int m_promptsAnswered = 0;
    int m_promptsStopped = 0;
    qint64 m_firstShownAt = 0;
};

} // namespace plimbo::test
