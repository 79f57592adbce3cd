#include "PresentedErrorAlert.h"
#include "AppModelHarness.h"
#include "GlobalSurfaceFocusCoordinator.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QWidget>

using namespace plimbo;
using namespace plimbo::test;

namespace {

const RunningApplication editor{1001, 0x3a00007};

// Three surfaces of one model, each with its alert, as the dashboard, the notch and the mini
// assistant have.
class PresentedErrorAlertTest : public ::testing::Test {
protected:
    void SetUp() override {
        model = h.makeModel();
        for (int i = 0; i < 3; ++i) {
            auto host = std::make_unique<QWidget>();
            host->resize(300, 200);
            alerts.append(
                new PresentedErrorAlert(model->errors(), model->globalSurfaceFocus(), *host));
            hosts.push_back(std::move(host));
        }
    }

    QList<int> presenting() const {
        QList<int> shown;
        for (int i = 0; i < alerts.size(); ++i) {
            if (alerts.at(i)->isPresented()) {
                shown.append(i);
            }
        }
        return shown;
    }

    void showAll() {
        for (auto& host : hosts) {
            host->show();
        }
        ASSERT_TRUE(settle([&] { return hosts.back()->isVisible(); }));
    }

    AppModelHarness h;
    std::unique_ptr<AppModel> model;
    std::vector<std::unique_ptr<QWidget>> hosts;
    QList<PresentedErrorAlert*> alerts;
};

} // namespace

TEST_F(PresentedErrorAlertTest, OneErrorShowsOneAlertOnTheActiveSurface) {
    showAll();
    hosts.at(1)->activateWindow();
    ASSERT_TRUE(settle([&] { return hosts.at(1)->isActiveWindow(); }));

    model->setPresentedError(QStringLiteral("Keep-awake failed"));
    ASSERT_TRUE(settle([&] { return !presenting().isEmpty(); }));
    spin(50);
    EXPECT_EQ(presenting(), QList<int>{1});
    EXPECT_EQ(alerts.at(1)->messageBox()->parentWidget(), hosts.at(1).get());

    // Another surface coming to the front leaves the open alert where it is.
    hosts.at(2)->activateWindow();
    spin(50);
    EXPECT_EQ(presenting(), QList<int>{1});

    alerts.at(1)->messageBox()->buttons().first()->click();
    ASSERT_TRUE(settle([&] { return presenting().isEmpty(); }));
    EXPECT_FALSE(model->presentedError().has_value());
}

TEST_F(PresentedErrorAlertTest, WithoutAnActiveSurfaceTheLastShownOneTakesTheAlert) {
    showAll();
    hosts.at(0)->hide();
    hosts.at(0)->show();
    ASSERT_TRUE(settle([&] { return hosts.at(0)->isVisible(); }));
    // The error comes while none of its surfaces is the active window.
    auto other = std::make_unique<QWidget>();
    other->show();
    other->activateWindow();
    ASSERT_TRUE(settle([&] { return other->isActiveWindow(); }));

    model->setPresentedError(QStringLiteral("Screenshot failed"));
    ASSERT_TRUE(settle([&] { return !presenting().isEmpty(); }));
    spin(50);
    EXPECT_EQ(presenting(), QList<int>{0});

    // Its surface going away hands the message to the next one, never to two.
    hosts.at(0)->hide();
    ASSERT_TRUE(settle([&] { return presenting() == QList<int>{2}; }));
    spin(50);
    EXPECT_EQ(presenting(), QList<int>{2});
    EXPECT_TRUE(model->presentedError().has_value());
}

TEST_F(PresentedErrorAlertTest, ClosingTheAlertHandsTheFocusBackToTheApplicationBeforeIt) {
    showAll();
    // The palette, opened over an editor, ran a command that failed; the hand-back it asks for
    // after the command waits for the alert.
    h.windows->frontmost = editor;
    model->globalSurfaceFocus().captureIfNeeded();
    h.windows->frontmost = RunningApplication{1, 0x5000003};
    model->setPresentedError(QStringLiteral("Keep-awake failed"));
    ASSERT_TRUE(settle([&] { return presenting().size() == 1; }));
    EXPECT_TRUE(model->globalSurfaceFocus().isAlertOpen());
    model->globalSurfaceFocus().restore();
    EXPECT_TRUE(h.windows->activated.isEmpty());

    alerts.at(presenting().first())->messageBox()->buttons().first()->click();
    ASSERT_TRUE(settle([&] { return presenting().isEmpty(); }));
    ASSERT_TRUE(settle([&] { return !model->globalSurfaceFocus().isAlertOpen(); }));
    EXPECT_EQ(h.windows->activated, QList<RunningApplication>{editor});
}
