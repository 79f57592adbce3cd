#pragma once

#include <QMetaType>

namespace plimbo {

// What the assistant is doing, as its status line shows it (the text is the views' own,
// chatStatusText()).
enum class ChatStatus {
    ready,
    loadingHistory,
    attaching,
    thinking,
    writing,
    done,
    noText,
    stopped,
    failed,
    copied,
};

} // namespace plimbo

Q_DECLARE_METATYPE(plimbo::ChatStatus)
