#include "ReduceMotion.h"

#include "FakeMotionPreference.h"

#include <gtest/gtest.h>

#include <memory>

using namespace plimbo;

TEST(ReduceMotionTest, FollowsTheDesktopSettingWhileItLives) {
    ReduceMotion& motion = ReduceMotion::instance();
    ASSERT_FALSE(motion.isEnabled());
    auto desktop = std::make_unique<FakeMotionPreference>();
    desktop->setReducesMotion(true);

    motion.follow(*desktop);
    EXPECT_TRUE(motion.isEnabled());
    desktop->setReducesMotion(false);
    EXPECT_FALSE(motion.isEnabled());
    desktop->setReducesMotion(true);
    EXPECT_TRUE(motion.isEnabled());

    // A setting that is gone leaves the switch as it was and no longer reaches it.
    desktop.reset();
    EXPECT_TRUE(motion.isEnabled());
    motion.setEnabled(false);
}
