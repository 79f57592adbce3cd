#include "MenuBarContentView.h"

#include "GlobalShortcuts.h"
#include "HairlineDivider.h"
#include "KeepAwakeService.h"
#include "MenuBarMetrics.h"
#include "MenuExitButton.h"
#include "MenuMetricColumn.h"
#include "MenuPrimaryAction.h"
#include "MenuQuickAction.h"
#include "MenuUtilityAction.h"
#include "MonitorStatusPill.h"
#include "PlimboMenuBarIcon.h"
#include "PlimboTheme.h"
#include "StatusDot.h"
#include "SurfaceStyle.h"
#include "SurfaceText.h"
#include "SymbolView.h"
#include "SystemMonitorService.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace plimbo {

namespace {

constexpr qreal kPanelRadius = 12;
constexpr qreal kBrandRadius = 12;
constexpr qreal kCardRadius = 15;

} // namespace

MenuBarContentView::MenuBarContentView(SystemMonitorService& monitor, KeepAwakeService& keepAwake,
                                       const GlobalShortcuts& shortcuts, Actions actions,
                                       QWidget* parent)
    : QWidget(parent)
    , m_monitor(monitor)
    , m_keepAwake(keepAwake)
    , m_shortcuts(shortcuts)
    , m_actions(std::move(actions))
    , m_terminate([] { QCoreApplication::quit(); }) {
    SurfaceStyle::registerSymbols();
    QPalette tinted = palette();
    tinted.setColor(QPalette::Highlight, PlimboTheme::accent());
    setPalette(tinted);
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedWidth(panelWidth);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // The panel itself takes focus when shown, so no button starts out with a focus ring;
    // Tab moves into the buttons.
    setFocusPolicy(Qt::StrongFocus);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildHeader());
    column->addWidget(buildSystemPreview());
    column->addWidget(buildActionArea());
    column->addWidget(buildUtilityArea());

    connect(&m_monitor, &SystemMonitorService::snapshotChanged, this,
            &MenuBarContentView::sampleArrived);
    connect(&m_monitor, &SystemMonitorService::isRunningChanged, this,
            &MenuBarContentView::refresh);
    connect(&m_keepAwake, &KeepAwakeService::isKeepingAwakeChanged, this,
            &MenuBarContentView::refresh);
    refresh();
}

void MenuBarContentView::setTerminate(std::function<void()> terminate) {
    m_terminate = std::move(terminate);
}

void MenuBarContentView::setCloseMenu(std::function<void()> closeMenu) {
    m_closeMenu = std::move(closeMenu);
    // A menu that kept its grab would leave the surface it opened without the keyboard.
    for (MenuActionButton* opener : std::initializer_list<MenuActionButton*>{
             m_open, m_commandTile, m_assistantTile, m_settings, m_about}) {
        opener->setBeforeAction(m_closeMenu);
    }
}

QWidget* MenuBarContentView::buildHeader() {
    auto* header = new QWidget(this);
    m_brandTile = new QWidget(header);
    m_brandTile->setFixedSize(46, 46);
    auto* mark = new PlimboMenuBarIcon(PlimboTheme::accent(), true, m_brandTile);
    mark->setFixedSize(27, 27);
    auto* tileLayout = new QHBoxLayout(m_brandTile);
    tileLayout->setContentsMargins(0, 0, 0, 0);
    tileLayout->addWidget(mark, 0, Qt::AlignCenter);

    auto* title = new SurfaceText(tr("Plimbo"), header);
    title->setFont(SurfaceStyle::font(20, QFont::DemiBold));
    auto* tagline = new SurfaceText(QStringLiteral("Your computer, at a glance"), header);
    tagline->setFont(SurfaceStyle::font(SurfaceStyle::TextStyle::caption));
    tagline->setTone(SurfaceStyle::Tone::secondary);
    auto* titles = new QVBoxLayout;
    titles->setSpacing(2);
    titles->addWidget(title);
    titles->addWidget(tagline);

    m_pill = new MonitorStatusPill(header);

    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(16, 15, 16, 13);
    row->setSpacing(12);
    row->addWidget(m_brandTile, 0, Qt::AlignVCenter);
    row->addLayout(titles, 1);
    row->addWidget(m_pill, 0, Qt::AlignVCenter);
    return header;
}

QWidget* MenuBarContentView::buildSystemPreview() {
    auto* outer = new QWidget(this);
    m_card = new QWidget(outer);

    // Title row: the card's name and the uptime.
    auto* pulseIcon = new SymbolView(QStringLiteral("waveform.path.ecg"), 12, m_card);
    pulseIcon->setTone(SurfaceStyle::Tone::accent);
    auto* pulseTitle = new SurfaceText(tr("System pulse"), m_card);
    pulseTitle->setFont(SurfaceStyle::font(SurfaceStyle::TextStyle::caption, QFont::DemiBold));
    pulseTitle->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_uptimeGroup = new QWidget(m_card);
    auto* clock = new SymbolView(QStringLiteral("clock.arrow.circlepath"), 11, m_uptimeGroup);
    clock->setTone(SurfaceStyle::Tone::secondary);
    m_uptime = new SurfaceText(QString(), m_uptimeGroup);
    m_uptime->setFont(SurfaceStyle::font(SurfaceStyle::TextStyle::caption, QFont::Medium));
    m_uptime->setTone(SurfaceStyle::Tone::secondary);
    m_uptime->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* uptimeRow = new QHBoxLayout(m_uptimeGroup);
    uptimeRow->setContentsMargins(0, 0, 0, 0);
    uptimeRow->setSpacing(5);
    uptimeRow->addWidget(clock, 0, Qt::AlignVCenter);
    uptimeRow->addWidget(m_uptime, 0, Qt::AlignVCenter);

    auto* titleRow = new QHBoxLayout;
    titleRow->setSpacing(6);
    titleRow->addWidget(pulseIcon, 0, Qt::AlignVCenter);
    titleRow->addWidget(pulseTitle, 0, Qt::AlignVCenter);
    titleRow->addStretch(1);
    titleRow->addWidget(m_uptimeGroup, 0, Qt::AlignVCenter);

    // The three readings, split by short hairlines.
    m_cpu = new MenuMetricColumn(QStringLiteral("cpu"), QStringLiteral("CPU"), m_card);
    m_memory = new MenuMetricColumn(QStringLiteral("memorychip"), QStringLiteral("Memory"), m_card);
    m_thermal =
        new MenuMetricColumn(QStringLiteral("thermometer"), QStringLiteral("Thermal"), m_card);
    auto* metricRow = new QHBoxLayout;
    metricRow->setSpacing(0);
    metricRow->addWidget(m_cpu, 1);
    metricRow->addWidget(new HairlineDivider(Qt::Vertical, 46, m_card), 0, Qt::AlignVCenter);
    metricRow->addWidget(m_memory, 1);
    metricRow->addWidget(new HairlineDivider(Qt::Vertical, 46, m_card), 0, Qt::AlignVCenter);
    metricRow->addWidget(m_thermal, 1);

    m_pulseDot = new StatusDot(5, m_card);
    m_pulseFooter = new SurfaceText(QString(), m_card);
    m_pulseFooter->setFont(SurfaceStyle::font(SurfaceStyle::TextStyle::caption2));
    m_pulseFooter->setTone(SurfaceStyle::Tone::tertiary);
    auto* footerRow = new QHBoxLayout;
    footerRow->setSpacing(6);
    footerRow->addWidget(m_pulseDot, 0, Qt::AlignVCenter);
    footerRow->addWidget(m_pulseFooter, 1, Qt::AlignVCenter);

    auto* card = new QVBoxLayout(m_card);
    card->setContentsMargins(14, 14, 14, 14);
    card->setSpacing(13);
    card->addLayout(titleRow);
    card->addLayout(metricRow);
    card->addLayout(footerRow);

    auto* inset = new QVBoxLayout(outer);
    inset->setContentsMargins(12, 0, 12, 12);
    inset->addWidget(m_card);
    return outer;
}

QWidget* MenuBarContentView::buildActionArea() {
    auto* area = new QWidget(this);
    m_open = new MenuPrimaryAction(
        QStringLiteral("Open Plimbo"), QStringLiteral("Dashboard & modules"),
        QStringLiteral("arrow.up.forward.app"), [this] { m_actions.showDashboard(); }, area);
    m_commandTile = new MenuQuickAction(
        QStringLiteral("Command"),
        globalShortcutHint(m_shortcuts, PlimboGlobalShortcut::commandPalette),
        QStringLiteral("sparkle.magnifyingglass"), PlimboTheme::accent(),
        QStringLiteral("Open Command Palette"), [this] { m_actions.showCommandPalette(); }, area);
    connect(&m_shortcuts, &GlobalShortcuts::labelsChanged, m_commandTile, [this] {
        m_commandTile->setDetail(
            globalShortcutHint(m_shortcuts, PlimboGlobalShortcut::commandPalette));
    });
    m_assistantTile = new MenuQuickAction(
        QStringLiteral("Plimbo AI"), QStringLiteral("Assistant"), QStringLiteral("sparkles"),
        PlimboTheme::accent(), QStringLiteral("Open Plimbo AI"), [this] { m_actions.showMiniAI(); },
        area);
    m_keepAwakeTile = new MenuQuickAction(
        QString(), QString(), QString(), QColor(), QString(), [this] { m_keepAwake.toggle(); },
        area);

    auto* tiles = new QHBoxLayout;
    tiles->setSpacing(8);
    for (MenuQuickAction* tile : {m_commandTile, m_assistantTile, m_keepAwakeTile}) {
        tiles->addWidget(tile, 1);
    }
    auto* column = new QVBoxLayout(area);
    column->setContentsMargins(12, 0, 12, 12);
    column->setSpacing(8);
    column->addWidget(m_open);
    column->addLayout(tiles);
    return area;
}

QWidget* MenuBarContentView::buildUtilityArea() {
    auto* area = new QWidget(this);
    m_settings = new MenuUtilityAction(
        QStringLiteral("Settings"), QStringLiteral("gearshape"),
        [this] { m_actions.openSettings(); }, area);
    m_settings->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    m_about = new MenuUtilityAction(
        QStringLiteral("About"), QStringLiteral("info.circle"), [this] { m_actions.showAbout(); },
        area);
    m_exit = new MenuExitButton(
        QKeySequence(Qt::CTRL | Qt::Key_Q),
        [this] {
            if (m_terminate) {
                m_terminate();
            }
        },
        area);

    auto* utilities = new QHBoxLayout;
    utilities->setSpacing(8);
    utilities->addWidget(m_settings, 1);
    utilities->addWidget(m_about, 1);
    auto* column = new QVBoxLayout(area);
    column->setContentsMargins(12, 0, 12, 10);
    column->setSpacing(8);
    column->addWidget(new HairlineDivider(Qt::Horizontal, 0, area));
    column->addLayout(utilities);
    column->addWidget(m_exit);
    return area;
}

void MenuBarContentView::refresh() {
    // Palette changes arrive while the constructor is still building the panel.
    if (m_refreshing || !m_keepAwakeTile) {
        return;
    }
    m_refreshing = true;
    m_sampleWaiting = false;
    const QPalette& colours = palette();
    const QLocale locale;
    const SystemSnapshot snapshot = m_monitor.snapshot();
    const bool running = m_monitor.isRunning();
    const auto color = [&](MenuBarMetrics::Tone tone) {
        return MenuBarMetrics::color(tone, colours);
    };

    const QColor status = color(MenuBarMetrics::monitorStatusTone(running));
    m_pill->setStatus(running ? QStringLiteral("Live") : QStringLiteral("Dormant"), status);

    const QString uptime = MenuBarMetrics::uptimeValue(snapshot, running);
    m_uptime->setText(uptime);
    m_uptimeGroup->setAccessibleName(tr("Uptime, %1").arg(uptime));

    m_cpu->setReading(QStringLiteral("cpu"), MenuBarMetrics::cpuValue(snapshot, running, locale),
                      color(MenuBarMetrics::Tone::accent));
    m_memory->setReading(QStringLiteral("memorychip"),
                         MenuBarMetrics::memoryValue(snapshot, running, locale),
                         color(MenuBarMetrics::memoryTone(snapshot, running)));
    const MenuBarMetrics::Thermal thermal = MenuBarMetrics::thermal(snapshot.thermalState, running);
    m_thermal->setReading(thermal.symbol, thermal.label, color(thermal.tone));

    m_pulseDot->setColor(status);
    m_pulseFooter->setText(running ? tr("Refreshed every 2 seconds") : tr("Monitoring is off"));

    if (m_keepAwake.isKeepingAwake()) {
        m_keepAwakeTile->setContent(
            QStringLiteral("Awake"), QStringLiteral("On"), QStringLiteral("moon.zzz.fill"),
            color(MenuBarMetrics::Tone::positive), QStringLiteral("Allow computer to sleep"));
    } else {
        m_keepAwakeTile->setContent(QStringLiteral("Keep Awake"), QStringLiteral("Off"),
                                    QStringLiteral("cup.and.heat.waves"),
                                    color(MenuBarMetrics::Tone::secondary),
                                    QStringLiteral("Keep computer awake"));
    }
    m_refreshing = false;
}

void MenuBarContentView::sampleArrived() {
    // The panel is hidden nearly all day: a sample nobody sees costs no work.
    if (!isVisible()) {
        m_sampleWaiting = true;
        return;
    }
    refresh();
}

void MenuBarContentView::showEvent(QShowEvent* event) {
    if (m_sampleWaiting) {
        refresh();
    }
    QWidget::showEvent(event);
    setFocus(Qt::OtherFocusReason);
}

void MenuBarContentView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::LocaleChange) {
        refresh();
    }
}

void MenuBarContentView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& colours = palette();
    SurfaceStyle::paintPanel(painter, QRectF(rect()), kPanelRadius, colours);

    const QRectF tile(m_brandTile->mapTo(this, QPoint(0, 0)), m_brandTile->size());
    painter.setPen(Qt::NoPen);
    painter.setBrush(SurfaceStyle::withOpacity(PlimboTheme::accent(), 0.16));
    painter.drawRoundedRect(tile, kBrandRadius, kBrandRadius);
    painter.setPen(QPen(SurfaceStyle::withOpacity(PlimboTheme::accent(), 0.22), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(tile.adjusted(0.5, 0.5, -0.5, -0.5), kBrandRadius, kBrandRadius);

    const QRectF card(m_card->mapTo(this, QPoint(0, 0)), m_card->size());
    painter.setPen(QPen(SurfaceStyle::primary(colours, 0.065), 1));
    painter.setBrush(SurfaceStyle::primary(colours, 0.045));
    painter.drawRoundedRect(card.adjusted(0.5, 0.5, -0.5, -0.5), kCardRadius, kCardRadius);
}

} // namespace plimbo
