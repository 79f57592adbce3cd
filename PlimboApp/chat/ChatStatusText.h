#pragma once

#include "ChatStatus.h"

#include <QString>

namespace plimbo {

// The status line's text, for every view that shows the assistant's status.
QString chatStatusText(ChatStatus status);

} // namespace plimbo
