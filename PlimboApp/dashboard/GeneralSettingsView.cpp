#include "GeneralSettingsView.h"

#include "DashboardStyle.h"
#include "GlobalShortcuts.h"
#include "NotchSurface.h"
#include "PermissionsView.h"
#include "PlimboTheme.h"
#include "SettingsForm.h"
#include "SettingsSwitch.h"
#include "StatusPill.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace plimbo {

GeneralSettingsView::GeneralSettingsView(NotchSurface& notch, GlobalShortcuts& shortcuts,
                                         SurfaceOpeners open, QWidget* parent)
    : QWidget(parent)
    , m_notchSurface(notch)
    , m_shortcuts(shortcuts)
    , m_open(std::move(open))
    , m_form(new SettingsForm(this)) {
    using S = DashboardStyle;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_form);
    const QFont body = S::font(S::Text::body);

    m_form->addSection(QStringLiteral("Plimbo Notch"));
    const QString notchText = QStringLiteral("Show Plimbo at the camera notch");
    m_notch = m_form->addSwitchRow(S::label(notchText, body), notchText);
    const QString virtualText =
        QStringLiteral("Draw a virtual notch on displays without a camera housing");
    QLabel* virtualLabel = S::label(virtualText, body);
    virtualLabel->setWordWrap(true);
    m_virtualNotch = m_form->addSwitchRow(virtualLabel, virtualText);
    m_form->addNote(QStringLiteral(
        "Plimbo detects the display safe area. Linux displays report no camera housing, so it "
        "draws the same interactive surface at the top of the screen."));

    m_form->addSection(QStringLiteral("Global Shortcuts"));
    for (PlimboGlobalShortcut shortcut : allGlobalShortcuts()) {
        auto* content = new QWidget;
        auto* line = new QHBoxLayout(content);
        line->setContentsMargins(0, 0, 0, 0);
        line->setSpacing(9);
        QLabel* keys = S::label(QString(), S::monospace(13));
        line->addWidget(keys);
        m_keyLabels.insert(shortcut, keys);
        auto* pill = new StatusPill(QString(), PlimboTheme::warning(), content);
        line->addWidget(pill);
        m_pills.insert(shortcut, pill);
        m_form->addLabeledRow(title(shortcut), content);
    }
    auto* buttons = new QWidget;
    auto* buttonLine = new QHBoxLayout(buttons);
    buttonLine->setContentsMargins(12, 6, 12, 6);
    m_testPalette = new QPushButton(QStringLiteral("Test Palette"), buttons);
    m_testLauncher = new QPushButton(QStringLiteral("Test Launcher"), buttons);
    m_testClipboard = new QPushButton(QStringLiteral("Test Clipboard"), buttons);
    m_retry = new QPushButton(QStringLiteral("Retry Shortcuts"), buttons);
    buttonLine->addWidget(m_testPalette);
    buttonLine->addWidget(m_testLauncher);
    buttonLine->addWidget(m_testClipboard);
    buttonLine->addStretch(1);
    buttonLine->addWidget(m_retry);
    m_form->addRow(buttons);
    m_shortcutsNote = m_form->addNote(QString());
    m_unavailableReason = m_form->addNote(QString());

    m_form->addSection(QStringLiteral("Distribution"));
    m_form->addLabeledRow(QStringLiteral("Current flavor"),
                          S::label(QStringLiteral("Ad-hoc"), body, S::Emphasis::secondary));
    m_form->addNote(PermissionsView::signedBuildNote());

    connect(m_notch, &SettingsSwitch::switchRequested, this,
            [this](bool on) { m_notchSurface.setSurfaceEnabled(on); });
    connect(m_virtualNotch, &SettingsSwitch::switchRequested, this,
            [this](bool on) { m_notchSurface.setVirtualNotchEnabled(on); });
    connect(m_testPalette, &QPushButton::clicked, this, [this] { m_open.commandPalette(); });
    connect(m_testLauncher, &QPushButton::clicked, this, [this] { m_open.launcher(); });
    connect(m_testClipboard, &QPushButton::clicked, this, [this] { m_open.clipboard(); });
    connect(m_retry, &QPushButton::clicked, this, [this] { m_shortcuts.retry(); });
    connect(&notch, &NotchSurface::surfaceEnabledChanged, this, &GeneralSettingsView::refreshNotch);
    connect(&notch, &NotchSurface::virtualNotchEnabledChanged, this,
            &GeneralSettingsView::refreshNotch);
    connect(&shortcuts, &GlobalShortcuts::registeredShortcutsChanged, this,
            &GeneralSettingsView::refreshShortcuts);
    connect(&shortcuts, &GlobalShortcuts::labelsChanged, this,
            &GeneralSettingsView::refreshShortcuts);
    refreshNotch();
    refreshShortcuts();
}

QString GeneralSettingsView::title(PlimboGlobalShortcut shortcut) {
    switch (shortcut) {
    case PlimboGlobalShortcut::commandPalette:
        return QStringLiteral("Command Palette");
    case PlimboGlobalShortcut::launcher:
        return QStringLiteral("Launcher");
    case PlimboGlobalShortcut::clipboard:
        return QStringLiteral("Clipboard");
    }
    return {};
}

QString GeneralSettingsView::keyText(PlimboGlobalShortcut shortcut) const {
    if (m_shortcuts.state(shortcut) == GlobalShortcutState::noKeys) {
        return globalShortcutWithoutKeysText();
    }
    return m_shortcuts.label(shortcut);
}

void GeneralSettingsView::refreshNotch() {
    m_notch->setOn(m_notchSurface.surfaceEnabled());
    // Keeps showing its stored value while disabled.
    m_virtualNotch->setOn(m_notchSurface.virtualNotchEnabled());
    m_virtualNotch->setEnabled(m_notchSurface.surfaceEnabled());
}

void GeneralSettingsView::refreshShortcuts() {
    const GlobalShortcutSet registered = m_shortcuts.registeredShortcuts();
    for (auto it = m_pills.cbegin(); it != m_pills.cend(); ++it) {
        const bool active = registered.contains(it.key());
        it.value()->setText(active ? QStringLiteral("Active") : QStringLiteral("Unavailable"));
        it.value()->setColor(active ? PlimboTheme::positive() : PlimboTheme::warning());
        // The desktop may have bound other keys than ours.
        m_keyLabels.value(it.key())->setText(keyText(it.key()));
    }
    m_shortcutsNote->setText(globalShortcutsNote(m_shortcuts));
    const QString reason = m_shortcuts.unavailableReason();
    m_unavailableReason->setText(reason);
    m_unavailableReason->setVisible(!reason.isEmpty());
}

} // namespace plimbo
