#pragma once

#include <QList>
#include <QUrl>

#include <functional>

namespace plimbo {

class AppStartup;
class ChatComposer;
class ChatList;
class ChatSession;
class StoredAttachments;

// What the chat views (the workbench, its conversation pane, the mini AI and their composer)
// read and call: the chat history, the draft, the session that sends it, the attachment files
// and the key flag, all owned by the application model, which outlives every view. Adding
// attachments crosses the draft and the session (nothing joins a draft while a reply is
// generated) and reports to the model's error, so those two come as the model's operations.
struct ChatFeatures {
    ChatList& chats;
    ChatComposer& composer;
    ChatSession& session;
    StoredAttachments& attachments;
    // Only for whether the OpenRouter key is stored.
    const AppStartup& startup;
    // Opens the file dialog and says whether it opened; `closed` runs when it closes, before the
    // chosen files join the draft.
    std::function<bool(std::function<void()> closed)> chooseAttachments;
    // Starts reading the files into the draft; false (and nothing changes) when it cannot.
    std::function<bool(const QList<QUrl>&)> addAttachments;
};

} // namespace plimbo
