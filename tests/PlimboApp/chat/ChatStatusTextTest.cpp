#include "ChatStatusText.h"

#include <gtest/gtest.h>

using namespace plimbo;

TEST(ChatStatusTextTest, EveryStatusReadsAsTheStatusLineShowsIt) {
    EXPECT_EQ(chatStatusText(ChatStatus::ready), "Ready");
    EXPECT_EQ(chatStatusText(ChatStatus::loadingHistory), "Loading chat history…");
    EXPECT_EQ(chatStatusText(ChatStatus::attaching), "Attaching…");
    EXPECT_EQ(chatStatusText(ChatStatus::thinking), "Thinking…");
    EXPECT_EQ(chatStatusText(ChatStatus::writing), "Writing…");
    EXPECT_EQ(chatStatusText(ChatStatus::done), "Done");
    EXPECT_EQ(chatStatusText(ChatStatus::noText), "No text returned");
    EXPECT_EQ(chatStatusText(ChatStatus::stopped), "Stopped");
    EXPECT_EQ(chatStatusText(ChatStatus::failed), "Failed");
    EXPECT_EQ(chatStatusText(ChatStatus::copied), "Copied");
}
