#include "GlobalShortcuts.h"

#include "AppModelHarness.h"
#include "FakeHotKeyBackend.h"
#include "GlobalHotKeyController.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace plimbo;
using namespace plimbo::test;

namespace {

class GlobalShortcutsTest : public ::testing::Test {
protected:
    std::shared_ptr<FakeHotKeyBackend::State> hotKeys =
        std::make_shared<FakeHotKeyBackend::State>();
    QList<PlimboGlobalShortcut> pressed;
    GlobalShortcuts shortcuts{[state = hotKeys] {
                                  return std::make_unique<GlobalHotKeyController>(
                                      std::make_unique<FakeHotKeyBackend>(state));
                              },
                              [this](PlimboGlobalShortcut shortcut) {
                                  pressed.append(shortcut);
                              }};
};

TEST_F(GlobalShortcutsTest, ShortcutsRegisterWithTheirIdsAndKeysAndCanBeRetried) {
    // Another application holds Alt+Space.
    hotKeys->refuse(QKeyCombination(Qt::AltModifier, Qt::Key_Space),
                    HotKeyStatus::takenByAnotherClient);
    shortcuts.install();
    EXPECT_EQ(
        shortcuts.registeredShortcuts(),
        (GlobalShortcutSet{PlimboGlobalShortcut::commandPalette, PlimboGlobalShortcut::clipboard}));
    QList<QPair<quint32, QKeyCombination>> held;
    for (const auto& key : hotKeys->held) {
        held.append({key.id, key.keys});
    }
    EXPECT_EQ(held, (QList<QPair<quint32, QKeyCombination>>{
                        {1, QKeyCombination(Qt::MetaModifier | Qt::AltModifier, Qt::Key_Space)},
                        {3, QKeyCombination(Qt::AltModifier | Qt::ControlModifier, Qt::Key_V)}}));

    // A press reaches the handler with its shortcut.
    EXPECT_TRUE(hotKeys->press(QKeyCombination(Qt::AltModifier | Qt::ControlModifier, Qt::Key_V)));
    ASSERT_TRUE(settle([&] { return !pressed.isEmpty(); }));
    EXPECT_EQ(pressed, QList<PlimboGlobalShortcut>{PlimboGlobalShortcut::clipboard});

    // Retrying releases the old keys before registering again.
    hotKeys->refusals.clear();
    QSignalSpy changes(&shortcuts, &GlobalShortcuts::registeredShortcutsChanged);
    shortcuts.retry();
    EXPECT_EQ(hotKeys->unregisterCalls, 2);
    EXPECT_EQ(hotKeys->held.size(), 3);
    EXPECT_EQ(shortcuts.registeredShortcuts().size(), 3);
    EXPECT_EQ(changes.count(), 2); // emptied, then filled
}

} // namespace
