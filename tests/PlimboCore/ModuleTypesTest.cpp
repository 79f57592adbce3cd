#include "ModuleRecord.h"
#include "PaletteItem.h"
#include "ReadyHealth.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace plimbo;

namespace {

TEST(PlimboCapabilityStatus, RawValuesMatchExactlyAndLabelsAreUserText) {
    EXPECT_FALSE(plimboCapabilityStatusFromString("Available").has_value());
    EXPECT_EQ(plimboCapabilityStatusFromString("available"), PlimboCapabilityStatus::available);
    QStringList labels;
    for (PlimboCapabilityStatus status : allPlimboCapabilityStatuses()) {
        EXPECT_EQ(plimboCapabilityStatusFromString(toString(status)), status);
        labels.append(label(status));
    }
    EXPECT_EQ(labels, (QStringList{"Available", "Permission required", "Developer ID required",
                                   "Entitlement required", "Unavailable in ad-hoc", "Experimental",
                                   "Unavailable through public API"}));
    EXPECT_EQ(toString(PlimboCapabilityStatus::unavailableThroughPublicAPI),
              "unavailableThroughPublicAPI");
}

TEST(ModuleHealth, LabelsAndEquality) {
    EXPECT_EQ(ModuleHealth::healthy("").label(), "");
    EXPECT_EQ(ModuleHealth::needsAttention(" Grant access ").label(), " Grant access ");
    EXPECT_EQ(ModuleHealth::stopped().label(), "Stopped");
    EXPECT_EQ(ModuleHealth::starting().label(), "Starting");
    EXPECT_EQ(ModuleHealth(), ModuleHealth::stopped());
    EXPECT_NE(ModuleHealth::healthy("a"), ModuleHealth::unavailable("a"));
    EXPECT_NE(ModuleHealth::healthy("a"), ModuleHealth::healthy("b"));
}

TEST(ModuleRecord, EqualityCoversEveryField) {
    const ModuleManifest manifest{
        "clipboard", "Clipboard", "History", "doc.on.clipboard", PlimboCapabilityStatus::available,
        true};
    ModuleManifest other = manifest;
    other.isPhaseOne = false;
    EXPECT_NE(manifest, other);
    EXPECT_NE(qHash(manifest), qHash(other));

    const ModuleRecord a{manifest, true, ModuleHealth::healthy("ok"), {1, "Polling"}};
    ModuleRecord b = a;
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.id(), "clipboard");
    b.resourceUsage.detail = "Polling every second";
    EXPECT_NE(a, b);
}

TEST(PaletteItem, KindsActionsAndItemsCompareByValue) {
    EXPECT_FALSE(paletteItemKindFromString("AI").has_value());
    EXPECT_EQ(paletteItemKindFromString("ai"), PaletteItemKind::ai);
    EXPECT_EQ(toString(PaletteItemKind::application), "application");

    const auto a =
        PaletteAction::launchApplication(QUrl::fromLocalFile("/usr/share/applications/a.desktop"));
    const auto b =
        PaletteAction::launchApplication(QUrl::fromLocalFile("/usr/share/applications/b.desktop"));
    EXPECT_NE(a, b);
    EXPECT_EQ(PaletteAction::openSettings(), PaletteAction::openSettings());
    EXPECT_NE(PaletteAction::openSettings(), PaletteAction::openAI());
    const QUuid id = QUuid::createUuid();
    EXPECT_EQ(PaletteAction::copyClipboard(id), PaletteAction::copyClipboard(id));
    EXPECT_EQ(PaletteAction::copyClipboard(id).clipboardItemID(), id);
    EXPECT_NE(PaletteAction::copyClipboard(id), PaletteAction::copyClipboard(QUuid::createUuid()));

    const PaletteItem item{
        "cmd.settings", PaletteItemKind::command,      "Settings", "Open settings",
        "gearshape",    PaletteAction::openSettings(), 1.0};
    PaletteItem rescored = item;
    rescored.score = 2.0;
    EXPECT_NE(item, rescored);
    EXPECT_EQ(QSet<PaletteItem>({item, item, rescored}).size(), 2);
}

TEST(ReadyHealth, EveryAnswerHoldsTheHealthItWasGivenAndKeepsIt) {
    ReadyHealth ready;
    const QFuture<ModuleHealth> first = ready(ModuleHealth::healthy("2 text items"));
    ASSERT_TRUE(first.isFinished());
    EXPECT_EQ(ready(ModuleHealth::healthy("2 text items")).result(),
              ModuleHealth::healthy("2 text items"));
    EXPECT_EQ(ready(ModuleHealth::healthy("3 text items")).result(),
              ModuleHealth::healthy("3 text items"));
    EXPECT_EQ(ready(ModuleHealth::stopped()).result(), ModuleHealth::stopped());
    EXPECT_EQ(ready(ModuleHealth::healthy("2 text items")).result(),
              ModuleHealth::healthy("2 text items"));
    EXPECT_EQ(first.result(), ModuleHealth::healthy("2 text items"));
}

} // namespace
