#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace plimbo {

class ChatComposer;
class ChatList;
class ChatSession;
class Clock;
class DesktopActions;
class NotchSurface;
class StoredAttachments;
class WindowRouter;

// The "--show-…" switches that start the program on one surface (for screenshots and manual
// checks), with the sample chats some of them show. Sample chats live in memory only: a preview
// run never writes the user's history file. Without a switch the notch is presented as its
// switches say. Main thread only.
class PreviewRun : public QObject {
    Q_OBJECT

public:
    struct Surfaces {
        ChatList& chats;
        ChatComposer& composer;
        ChatSession& session;
        StoredAttachments& attachments;
        WindowRouter& windows;
        NotchSurface& notch;
        DesktopActions& desktop;
    };

    PreviewRun(QStringList arguments, QString applicationPath,
               std::optional<QString> resourceDirectory, const Clock& clock, Surfaces surfaces,
               QObject* parent = nullptr);

    // Any argument starting "--show-": such runs never touch the keyring (it may prompt).
    bool isPreviewRun() const;
    // The mini assistant alone, with or without a sample conversation.
    bool isMiniAIRun() const;
    // Builds and shows the mini assistant (seeded for the chat preview).
    void showMiniAI();
    // Acts on the first switch given, or presents the notch when there is none.
    void act();

private:
    bool has(const QString& argument) const;
    void seedChats();
    void seedMiniConversation();

    QStringList m_arguments;
    QString m_applicationPath;
    std::optional<QString> m_resourceDirectory;
    const Clock& m_clock;
    Surfaces m_surfaces;
};

} // namespace plimbo
