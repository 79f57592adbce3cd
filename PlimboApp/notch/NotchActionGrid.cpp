#include "NotchActionGrid.h"

#include "AppModel.h"
#include "KeepAwakeService.h"
#include "MiniAIController.h"
#include "NotchActionButton.h"
#include "NotchSurfaceView.h"
#include "PlimboTheme.h"

#include <QGridLayout>

namespace plimbo {

namespace {

QColor airDropBlue() {
    return QColor::fromRgbF(0.34f, 0.72f, 1.0f);
}

QColor screenshotTint() {
    return QColor::fromRgbF(0.98f, 0.48f, 0.42f);
}

} // namespace

NotchActionGrid::NotchActionGrid(NotchSurfaceView& surface, QWidget* parent)
    : QWidget(parent)
    , m_surface(surface) {
    AppModel& model = surface.model();
    // Collapse first, then act.
    auto collapsing = [&surface](std::function<void()> act) {
        return [&surface, act = std::move(act)] {
            surface.onCollapse();
            act();
        };
    };
    const QColor white(Qt::white);
    m_tiles = {
        new NotchActionButton(QStringLiteral("Command"), QStringLiteral("sparkle.magnifyingglass"),
                              PlimboTheme::accent(),
                              collapsing([&model] { model.showCommandPalette(); }), this),
        new NotchActionButton(QStringLiteral("Plimbo AI"), QStringLiteral("sparkles"),
                              PlimboTheme::accent(), collapsing([&model] {
                                  model.newAIChat();
                                  if (MiniAIController* mini = model.miniAIController()) {
                                      mini->show();
                                  }
                              }),
                              this),
        new NotchActionButton(QStringLiteral("AirDrop"),
                              QStringLiteral("antenna.radiowaves.left.and.right"), airDropBlue(),
                              collapsing([&model] { model.startAirDrop(); }), this),
        new NotchActionButton(QStringLiteral("Screenshot"), QStringLiteral("viewfinder"),
                              screenshotTint(), collapsing([&model] { model.startScreenshot(); }),
                              this),
        new NotchActionButton(QStringLiteral("Clipboard"), QStringLiteral("clipboard"), white,
                              collapsing([&model] { model.showClipboard(); }), this),
        new NotchActionButton(QStringLiteral("Launcher"), QStringLiteral("sparkle.magnifyingglass"),
                              white, collapsing([&model] { model.showLauncher(); }), this),
        new NotchActionButton(
            QStringLiteral("Keep Awake"), QStringLiteral("cup.and.heat.waves"), white,
            [&model] { model.keepAwake().toggle(); }, this),
        new NotchActionButton(QStringLiteral("Dashboard"), QStringLiteral("square.grid.2x2"), white,
                              collapsing([&model] { model.showDashboard(AppSection::overview); }),
                              this),
    };
    m_keepAwake = m_tiles.at(6);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    for (int i = 0; i < m_tiles.size(); ++i) {
        grid->addWidget(m_tiles[i], i / 4, i % 4);
    }
    for (int column = 0; column < 4; ++column) {
        grid->setColumnStretch(column, 1);
        grid->setColumnMinimumWidth(column, 10);
    }
    connect(&model.keepAwake(), &KeepAwakeService::isKeepingAwakeChanged, this,
            &NotchActionGrid::refreshKeepAwake);
    refreshKeepAwake();
}

void NotchActionGrid::refreshKeepAwake() {
    if (m_surface.model().keepAwake().isKeepingAwake()) {
        m_keepAwake->setLook(QStringLiteral("Awake"), QStringLiteral("moon.zzz.fill"),
                             PlimboTheme::positive());
    } else {
        m_keepAwake->setLook(QStringLiteral("Keep Awake"), QStringLiteral("cup.and.heat.waves"),
                             Qt::white);
    }
}

} // namespace plimbo
