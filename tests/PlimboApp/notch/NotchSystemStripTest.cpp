#include "NotchSystemStrip.h"
#include "AppModelHarness.h"
#include "FakeHostStatistics.h"
#include "NotchMetricCell.h"
#include "SystemMonitorService.h"

#include <gtest/gtest.h>

using namespace plimbo;
using namespace plimbo::test;

TEST(NotchSystemStripTest, SamplesWhileTheShelfIsClosedWaitUntilItOpens) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    AppModelHarness h;
    auto host = std::make_shared<FakeHostStatistics>();
    host->memory = MemoryUsage{250, 1000};
    AppModelDependencies dependencies = h.dependencies();
    dependencies.systemMonitor = std::make_shared<SystemMonitorService>(host);
    AppModel model(std::move(dependencies));
    NotchSystemStrip strip(model.systemMonitor());
    strip.show();
    model.systemMonitor().start();
    EXPECT_EQ(strip.cell(1).cell().value, QStringLiteral("25%"));

    strip.hide();
    host->memory = MemoryUsage{500, 1000};
    model.systemMonitor().stop();
    model.systemMonitor().start(); // samples at once
    ASSERT_EQ(model.systemMonitor().snapshot().memoryUsed, 500u);
    EXPECT_EQ(strip.cell(1).cell().value, QStringLiteral("25%"));

    strip.show();
    EXPECT_EQ(strip.cell(1).cell().value, QStringLiteral("50%"));
    QLocale::setDefault(QLocale::system());
}
