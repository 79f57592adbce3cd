#pragma once

#include "AIChatSession.h"

#include <QList>

namespace plimbo {

// The two chat histories the save stress alternates between. Both have the same shape, ids and
// dates; every chat title and every reply carries the generation letter, so a file that mixes
// or cuts the two can never pass for either.
class StressHistory {
public:
    StressHistory(int chats, int turns);

    // generation is 'A' or 'B'.
    QList<AIChatSession> version(char generation) const;

private:
    int m_chats;
    int m_turns;
};

} // namespace plimbo
