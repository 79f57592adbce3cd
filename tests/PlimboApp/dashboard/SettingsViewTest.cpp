#include "SettingsView.h"
#include "DashboardHarness.h"
#include "GeneralSettingsView.h"
#include "ModuleSettingsView.h"
#include "OpenRouterSettingsView.h"
#include "PresentedErrorAlert.h"
#include "PrivacySettingsView.h"
#include "SettingsForm.h"
#include "ShellViews.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMessageBox>
#include <QTabBar>
#include <QTabWidget>

using namespace plimbo;
using namespace plimbo::test;

namespace {

class SettingsViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        harness.make();
        view.reset(qobject_cast<SettingsView*>(ShellViews::settings(*harness.model)));
        ASSERT_NE(view, nullptr);
        view->resize(820, 620);
        view->show();
    }

    AppModel& model() { return *harness.model; }

    DashboardHarness harness;
    std::unique_ptr<SettingsView> view;
};

TEST_F(SettingsViewTest, FourTabsInOrderStartingAtGeneral) {
    QStringList titles;
    for (int i = 0; i < view->tabs()->count(); ++i) {
        titles.append(view->tabs()->tabText(i));
    }
    EXPECT_EQ(titles, (QStringList{QStringLiteral("General"), QStringLiteral("Modules"),
                                   QStringLiteral("Plimbo AI"), QStringLiteral("Privacy")}));
    EXPECT_EQ(view->tabs()->currentWidget(), view->tab(SettingsSection::general));
    EXPECT_NE(qobject_cast<GeneralSettingsView*>(view->tab(SettingsSection::general)), nullptr);
    EXPECT_NE(qobject_cast<ModuleSettingsView*>(view->tab(SettingsSection::modules)), nullptr);
    EXPECT_NE(qobject_cast<OpenRouterSettingsView*>(view->tab(SettingsSection::openRouter)),
              nullptr);
    EXPECT_NE(qobject_cast<PrivacySettingsView*>(view->tab(SettingsSection::privacy)), nullptr);
}

TEST_F(SettingsViewTest, TheModelsSectionChoosesTheTabBothWays) {
    model().openSettings(SettingsSection::privacy);
    EXPECT_EQ(view->tabs()->currentWidget(), view->tab(SettingsSection::privacy));

    // The user picks a tab.
    QTabBar* bar = view->tabs()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    EXPECT_EQ(model().selectedSettingsSection(), SettingsSection::modules);

    // Opening again selects its section even while the window is open.
    model().openSettings(SettingsSection::general);
    EXPECT_EQ(view->tabs()->currentWidget(), view->tab(SettingsSection::general));
}

TEST_F(SettingsViewTest, AlertShowsTheModelsMessageAndOkClearsIt) {
    EXPECT_FALSE(view->errorAlert()->isPresented());
    model().setPresentedError(QStringLiteral("AirDrop is unavailable for the selected items."));
    ASSERT_TRUE(view->errorAlert()->isPresented());
    QMessageBox* box = view->errorAlert()->messageBox();
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Plimbo needs attention"));
    EXPECT_EQ(box->informativeText(),
              QStringLiteral("AirDrop is unavailable for the selected items."));
    // Escape dismisses it like "OK".
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_FALSE(model().presentedError().has_value());
    EXPECT_FALSE(view->errorAlert()->isPresented());
}

TEST(OpenRouterSettingsViewTest, StatusReadsTheKeyFoundAtStart) {
    DashboardHarness missing;
    OpenRouterSettingsView withoutKey(missing.make().startup());
    EXPECT_EQ(withoutKey.statusValue()->text(), QStringLiteral("Missing"));

    DashboardHarness stored;
    stored.h.storeKey(QStringLiteral("sk-or-test"));
    AppModel& model = stored.make();
    ASSERT_TRUE(settle([&] { return model.credentialIsStored(); }));
    OpenRouterSettingsView withKey(model.startup());
    EXPECT_EQ(withKey.statusValue()->text(), QStringLiteral("Available in the keyring"));

    // Any preview switch skips the keychain.
    DashboardHarness preview;
    preview.h.storeKey(QStringLiteral("sk-or-test"));
    preview.h.arguments.append(QStringLiteral("--show-settings-preview"));
    AppModel& previewModel = preview.make();
    spin();
    OpenRouterSettingsView previewView(previewModel.startup());
    EXPECT_EQ(previewView.statusValue()->text(), QStringLiteral("Missing"));
    EXPECT_EQ(withKey.form()->sectionTitles(),
              (QStringList{QStringLiteral("OpenRouter credential"), QStringLiteral("Privacy")}));
}

TEST(PrivacySettingsViewTest, FixedRowsAndSections) {
    PrivacySettingsView view;
    EXPECT_EQ(view.form()->sectionTitles(), (QStringList{QStringLiteral("Local-first defaults"),
                                                         QStringLiteral("OpenRouter boundary")}));
    QStringList texts;
    for (QLabel* label : view.findChildren<QLabel*>()) {
        texts.append(label->text());
    }
    for (const PrivacySettingsView::Row& row : PrivacySettingsView::rows()) {
        EXPECT_TRUE(texts.contains(row.label)) << row.label.toStdString();
        EXPECT_TRUE(texts.contains(row.value)) << row.value.toStdString();
    }
    EXPECT_EQ(PrivacySettingsView::rows().size(), 4);
}

} // namespace
