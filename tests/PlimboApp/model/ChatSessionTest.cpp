#include "ChatSession.h"

#include <gtest/gtest.h>

using namespace plimbo;

TEST(ChatSessionTest, DefaultPrompts) {
    const AIChatAttachment pdf{QUuid::createUuid(),
                               QStringLiteral("a.pdf"),
                               QStringLiteral("application/pdf"),
                               AIChatAttachmentKind::pdf,
                               1,
                               QStringLiteral("x.pdf")};
    EXPECT_EQ(ChatSession::defaultPrompt({pdf}), "Describe and analyze the attached file: a.pdf");
    EXPECT_EQ(ChatSession::defaultPrompt({pdf, pdf, pdf}),
              "Describe and analyze these 3 attached files.");
}
