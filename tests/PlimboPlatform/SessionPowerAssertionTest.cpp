#include "SessionPowerAssertion.h"

#include "FakePowerAssertion.h"

#include <gtest/gtest.h>

#include <memory>

using namespace plimbo;

namespace {

class SessionPowerAssertionTest : public testing::Test {
protected:
    std::optional<quint32> take() {
        std::optional<quint32> id;
        session.requestNoDisplaySleepAssertion(
            QStringLiteral("Plimbo Keep Awake"),
            [&id](const PowerAssertionReply& reply) { id = reply.id; });
        return id;
    }

    std::shared_ptr<FakePowerAssertion::State> service =
        std::make_shared<FakePowerAssertion::State>();
    std::shared_ptr<FakePowerAssertion::State> fallback =
        std::make_shared<FakePowerAssertion::State>();
    SessionPowerAssertion session{std::make_unique<FakePowerAssertion>(service),
                                  std::make_unique<FakePowerAssertion>(fallback)};
};

} // namespace

TEST_F(SessionPowerAssertionTest, TheFallbackIsAskedOnlyWhenTheServiceIsMissing) {
    ASSERT_TRUE(take().has_value());
    EXPECT_EQ(service->held.size(), 1);
    EXPECT_EQ(fallback->createCalls, 0);

    service->refuse = true;
    EXPECT_FALSE(take().has_value()) << "a refusal is final";
    EXPECT_EQ(fallback->createCalls, 0);

    service->serviceMissing = true;
    const std::optional<quint32> id = take();
    ASSERT_TRUE(id.has_value());
    EXPECT_EQ(fallback->held.size(), 1);
    session.releaseAssertion(*id);
    EXPECT_TRUE(fallback->held.isEmpty());
    EXPECT_EQ(service->held.size(), 1) << "released from the wrong backend";
}

TEST_F(SessionPowerAssertionTest, ALossIsReportedUnderTheSessionsOwnIdentifier) {
    service->nextID = 7; // the backend's numbers are not the session's
    std::optional<quint32> lost;
    session.setLostHandler([&lost](quint32 id) { lost = id; });
    const std::optional<quint32> id = take();
    ASSERT_TRUE(id.has_value());
    ASSERT_TRUE(FakePowerAssertion::loseHeld(*service));
    EXPECT_EQ(lost, id);
    // Already gone: releasing it asks nothing of the backend.
    session.releaseAssertion(*id);
    EXPECT_EQ(service->releaseCalls, 0);
}

TEST(SessionPowerAssertion, GoingAwayReleasesWhatIsHeld) {
    auto service = std::make_shared<FakePowerAssertion::State>();
    auto fallback = std::make_shared<FakePowerAssertion::State>();
    {
        SessionPowerAssertion session(std::make_unique<FakePowerAssertion>(service),
                                      std::make_unique<FakePowerAssertion>(fallback));
        session.requestNoDisplaySleepAssertion(QStringLiteral("x"), [](auto&) {});
        service->refuse = true;
        service->serviceMissing = true;
        session.requestNoDisplaySleepAssertion(QStringLiteral("x"), [](auto&) {});
        ASSERT_EQ(service->held.size() + fallback->held.size(), 2u);
    }
    EXPECT_TRUE(service->held.isEmpty());
    EXPECT_TRUE(fallback->held.isEmpty());
}
