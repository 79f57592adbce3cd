#include "ChatRequestBuilder.h"
#include "AIChatHistoryStore.h"
#include "FakeFileLocations.h"
#include "TestSupport.h"
#include "ThreadPoolTaskExecutor.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace plimbo;

namespace {

using Part = AIMessage::ContentPart;
using Role = AIMessage::Role;

AIChatAttachment record(qint64 byteCount, AIChatAttachmentKind kind = AIChatAttachmentKind::pdf,
                        const QString& name = QStringLiteral("file.pdf")) {
    return AIChatAttachment{QUuid::createUuid(),
                            name,
                            QStringLiteral("application/pdf"),
                            kind,
                            byteCount,
                            QUuid::createUuid().toString(QUuid::WithoutBraces) +
                                QStringLiteral(".pdf")};
}

AIChatTurn turn(const QString& prompt, const QString& response = {},
                QList<AIChatAttachment> attachments = {},
                AIChatTurnState state = AIChatTurnState::completed) {
    return AIChatTurn(QUuid::createUuid(), prompt, response, QDateTime::currentDateTimeUtc(), state,
                      std::move(attachments));
}

const QList<Part>& partsOf(const AIMessage& message) {
    static const QList<Part> none;
    const QList<Part>* parts = message.content.asParts();
    EXPECT_NE(parts, nullptr);
    return parts ? *parts : none;
}

QString textOf(const AIMessage& message) {
    const QString* text = message.content.asText();
    EXPECT_NE(text, nullptr);
    return text ? *text : QString();
}

class ChatRequestBuilderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(root.isValid()); }

    AIChatAttachment stored(const QByteArray& bytes, const QString& name, const QString& mimeType,
                            AIChatAttachmentKind kind) const {
        return store.saveAttachment(bytes, name, mimeType, kind);
    }

    QTemporaryDir root;
    FakeFileLocations locations{root.filePath("data"), root.filePath("tmp")};
    AIChatHistoryStore store{root.filePath("AIChats.json"), root.filePath("AIChatAttachments"),
                             locations};
};

} // namespace

TEST_F(ChatRequestBuilderTest, TurnsBecomeSystemUserAndAssistantMessagesInChatOrder) {
    const QList<AIChatTurn> prior{
        turn("First question", "First answer"),
        // Failed before any text: only its user message goes out, so two user messages meet.
        turn("Second question", {}, {}, AIChatTurnState::failed),
        turn("Third question", "Partial", {}, AIChatTurnState::stopped),
    };
    const QList<AIMessage> messages =
        ChatRequestBuilder::requestMessages(prior, turn("New question"), store);

    ASSERT_EQ(messages.size(), 7);
    EXPECT_EQ(messages[0].role, Role::system);
    EXPECT_EQ(textOf(messages[0]),
              "You are Plimbo, a concise assistant on a Linux desktop. Analyze attached images "
              "and documents when present. Preserve the user's meaning and never claim to perform "
              "actions you cannot perform.");
    EXPECT_EQ(ChatRequestBuilder::systemPrompt.size(), 190);
    const QList<std::pair<Role, QString>> expected{
        {Role::user, "First question"},  {Role::assistant, "First answer"},
        {Role::user, "Second question"}, {Role::user, "Third question"},
        {Role::assistant, "Partial"},
    };
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(messages[i + 1].role, expected[i].first) << i;
        EXPECT_EQ(textOf(messages[i + 1]), expected[i].second) << i;
    }
    EXPECT_EQ(messages.last().role, Role::user);
    // A turn without attachments is plain text, not a list of one part.
    EXPECT_TRUE(messages.last().content.isText());
    EXPECT_EQ(textOf(messages.last()), "New question");
}

TEST_F(ChatRequestBuilderTest, RedactsPromptsButNotStoredResponses) {
    const QString secret = QStringLiteral("sk-or-v1-abcdefghijklmnopqrstuvwxyz");
    const AIChatTurn earlier = turn("my key is " + secret, "You sent " + secret);
    const AIChatTurn current = turn("again " + secret);
    const QList<AIMessage> messages =
        ChatRequestBuilder::requestMessages({earlier}, current, store);

    ASSERT_EQ(messages.size(), 4);
    EXPECT_EQ(textOf(messages[1]), "my key is [REDACTED]");
    EXPECT_EQ(textOf(messages[2]), "You sent " + secret);
    EXPECT_EQ(textOf(messages[3]), "again [REDACTED]");
    // The turn itself keeps what was typed.
    EXPECT_EQ(current.prompt, "again " + secret);
}

TEST_F(ChatRequestBuilderTest, BudgetServesTheNewTurnFirstThenRecentHistory) {
    // 8,000,000 + 4,000,000 new leave 3,728,640: the older 4,000,000 PDF is omitted.
    const AIChatAttachment big = record(8'000'000);
    const AIChatAttachment medium = record(4'000'000);
    const AIChatAttachment olderPDF = record(4'000'000);
    const QList<AIChatTurn> prior{turn("Earlier", "Seen", {olderPDF})};
    const AIChatTurn current = turn("Now", {}, {big, medium});
    EXPECT_EQ(ChatRequestBuilder::attachmentIDsForRequest(prior, current),
              (QSet<QUuid>{big.id, medium.id}));

    // An oversized middle attachment is skipped and the walk goes on.
    const AIChatAttachment first = record(10'485'760);
    const AIChatAttachment second = record(6'000'000);
    const AIChatAttachment third = record(4'000'000);
    EXPECT_EQ(
        ChatRequestBuilder::attachmentIDsForRequest({}, turn("x", {}, {first, second, third})),
        (QSet<QUuid>{first.id, third.id}));
}

TEST_F(ChatRequestBuilderTest, BudgetWalksHistoryNewestTurnFirstAndEachTurnBackwards) {
    // Newest prior turn, last attachment first: c and b are chosen and leave 5,728,640, which
    // neither a nor the oldest turn's file (6,000,000 each) fits. The other walks choose
    // otherwise: oldest turn first {oldest, c}, first to last {a, b}, both {oldest, a}.
    const AIChatAttachment oldest = record(6'000'000);
    const AIChatAttachment a = record(6'000'000);
    const AIChatAttachment b = record(5'000'000);
    const AIChatAttachment c = record(5'000'000);
    const QList<AIChatTurn> prior{turn("old", {}, {oldest}), turn("recent", {}, {a, b, c})};
    EXPECT_EQ(ChatRequestBuilder::attachmentIDsForRequest(prior, turn("new")),
              (QSet<QUuid>{c.id, b.id}));

    // The walk goes on past a file that does not fit: a smaller older file still fills the
    // budget exactly.
    const AIChatAttachment fitting = record(5'728'640);
    const QList<AIChatTurn> withFitting{turn("old", {}, {fitting}), turn("recent", {}, {a, b, c})};
    EXPECT_EQ(ChatRequestBuilder::attachmentIDsForRequest(withFitting, turn("new")),
              (QSet<QUuid>{c.id, b.id, fitting.id}));

    // One attachment exactly as large as the whole budget is chosen; one byte more is not.
    const AIChatAttachment exact = record(ChatRequestBuilder::requestByteBudget);
    const AIChatAttachment over = record(ChatRequestBuilder::requestByteBudget + 1);
    EXPECT_EQ(ChatRequestBuilder::attachmentIDsForRequest({}, turn("x", {}, {exact})),
              QSet<QUuid>{exact.id});
    EXPECT_TRUE(ChatRequestBuilder::attachmentIDsForRequest({}, turn("x", {}, {over})).isEmpty());
}

TEST_F(ChatRequestBuilderTest, NegativeRecordedSizeCannotGrowTheBudget) {
    // A damaged record claiming a negative size would otherwise make room for everything.
    const AIChatAttachment damaged = record(-10'000'000);
    const AIChatAttachment big = record(10'000'000);
    const AIChatAttachment other = record(10'000'000);
    const QSet<QUuid> chosen =
        ChatRequestBuilder::attachmentIDsForRequest({}, turn("x", {}, {damaged, big, other}));
    EXPECT_EQ(chosen, QSet<QUuid>{big.id});
}

TEST_F(ChatRequestBuilderTest, AttachmentsBecomeDataURLsAndRedactedText) {
    const QByteArray png = QByteArray::fromHex("89504e470d0a1a0a0000");
    const QByteArray pdf = QByteArrayLiteral("%PDF-1.7 body");
    const AIChatAttachment image =
        stored(png, "shot.png", "image/png", AIChatAttachmentKind::image);
    // The stored media type of a PDF is not used.
    const AIChatAttachment document =
        stored(pdf, "report.pdf", "application/x-pdf", AIChatAttachmentKind::pdf);
    const AIChatAttachment notes = stored("token: abcdefghijk\nplain line\n", "notes.txt",
                                          "text/plain", AIChatAttachmentKind::text);
    const AIChatTurn current = turn("password=hunter2hunter2 look", {}, {image, document, notes});

    const AIMessage message = ChatRequestBuilder::aiMessage(
        current, ChatRequestBuilder::attachmentIDsForRequest({}, current), store);
    EXPECT_EQ(message.role, Role::user);
    const QList<Part>& parts = partsOf(message);
    ASSERT_EQ(parts.size(), 4);
    EXPECT_EQ(parts[0], Part::makeText("[REDACTED] look"));
    EXPECT_EQ(parts[1],
              Part::makeImage("data:image/png;base64," + QString::fromLatin1(png.toBase64())));
    EXPECT_EQ(parts[2], Part::makeFile("report.pdf", "data:application/pdf;base64," +
                                                         QString::fromLatin1(pdf.toBase64())));
    EXPECT_EQ(parts[3],
              Part::makeText("Attached text file \"notes.txt\":\n\n[REDACTED]\nplain line\n"));
}

TEST_F(ChatRequestBuilderTest, UnusableAttachmentsBecomeNotesAndTheMessageIsStillBuilt) {
    const AIChatAttachment latin1 =
        stored(QByteArray("caf\xe9"), "latin.txt", "text/plain", AIChatAttachmentKind::text);
    AIChatAttachment gone =
        stored("bytes", "gone.pdf", "application/pdf", AIChatAttachmentKind::pdf);
    store.removeAttachment(gone);
    const AIChatAttachment skipped = record(20'000'000, AIChatAttachmentKind::image, "huge.png");
    const AIChatTurn current = turn("Check these", {}, {latin1, gone, skipped});

    const QList<AIMessage> messages = ChatRequestBuilder::requestMessages({}, current, store);
    ASSERT_EQ(messages.size(), 2);
    const QList<Part>& parts = partsOf(messages[1]);
    ASSERT_EQ(parts.size(), 4);
    EXPECT_EQ(parts[0], Part::makeText("Check these"));
    EXPECT_EQ(parts[1],
              Part::makeText("Attachment \"latin.txt\" could not be decoded as UTF-8 text."));
    EXPECT_EQ(parts[2],
              Part::makeText("Attachment \"gone.pdf\" is no longer available on this computer."));
    EXPECT_EQ(parts[3], Part::makeText("Attachment \"huge.png\" was omitted to keep the request "
                                       "within the local size limit."));
}

TEST_F(ChatRequestBuilderTest, PriorTurnAttachmentsShareTheBudgetInTheirMessages) {
    const AIChatAttachment older =
        stored("old notes", "old.txt", "text/plain", AIChatAttachmentKind::text);
    // The file is never read when it is not chosen; a fake size over the budget keeps it out.
    AIChatAttachment olderTooBig = older;
    olderTooBig.id = QUuid::createUuid();
    olderTooBig.byteCount = ChatRequestBuilder::requestByteBudget;
    const AIChatAttachment current = record(1, AIChatAttachmentKind::pdf, "new.pdf");

    const QList<AIMessage> messages = ChatRequestBuilder::requestMessages(
        {turn("Earlier", "Answer", {older, olderTooBig})}, turn("Now", {}, {current}), store);
    ASSERT_EQ(messages.size(), 4);
    const QList<Part>& prior = partsOf(messages[1]);
    ASSERT_EQ(prior.size(), 3);
    EXPECT_EQ(prior[1], Part::makeText("Attached text file \"old.txt\":\n\nold notes"));
    EXPECT_EQ(prior[2], Part::makeText("Attachment \"old.txt\" was omitted to keep the request "
                                       "within the local size limit."));
    EXPECT_EQ(textOf(messages[2]), "Answer");
}

TEST_F(ChatRequestBuilderTest, BuildsOffTheCallingThread) {
    const AIChatAttachment notes =
        stored("hello", "hello.md", "text/markdown", AIChatAttachmentKind::text);
    const QList<AIChatTurn> prior{turn("Earlier", "Answer")};
    const AIChatTurn current = turn("Now", {}, {notes});
    ThreadPoolTaskExecutor executor;
    QFuture<QList<AIMessage>> future =
        ChatRequestBuilder::requestMessagesInBackground(executor, prior, current, store);
    ASSERT_TRUE(test::waitFor(future));
    EXPECT_EQ(future.result(), ChatRequestBuilder::requestMessages(prior, current, store));
}
