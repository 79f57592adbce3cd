#include "DashboardView.h"

#include "AIWorkbenchView.h"
#include "AppModel.h"
#include "ClipboardHistoryView.h"
#include "DashboardStyle.h"
#include "DashboardSymbols.h"
#include "DiagnosticsView.h"
#include "LauncherView.h"
#include "OverviewView.h"
#include "PermissionsView.h"
#include "PlimboTheme.h"
#include "PresentedErrorAlert.h"
#include "symbols/SymbolIcon.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

namespace plimbo {

namespace {

// Accent in the list, white on the accent of the selected row.
QIcon sidebarIcon(const QString& symbol) {
    QIcon icon;
    for (int side : {16, 32}) {
        icon.addPixmap(SymbolIcon::pixmap(symbol, QSize(side, side), PlimboTheme::accent()),
                       QIcon::Normal);
        icon.addPixmap(SymbolIcon::pixmap(symbol, QSize(side, side), Qt::white), QIcon::Selected);
    }
    return icon;
}

} // namespace

DashboardView::DashboardView(AppModel& model, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
    , m_splitter(new QSplitter(Qt::Horizontal, this))
    , m_sidebar(new QListWidget)
    , m_paletteButton(new QToolButton)
    , m_detail(new QWidget)
    , m_detailLayout(new QVBoxLayout(m_detail)) {
    DashboardSymbols::load();
    DashboardStyle::applyTint(this);
    using S = DashboardStyle;

    // Sidebar: the navigation title over the sections.
    auto* sidebarColumn = new QWidget;
    auto* sidebarLayout = new QVBoxLayout(sidebarColumn);
    sidebarLayout->setContentsMargins(10, 14, 10, 10);
    sidebarLayout->setSpacing(8);
    QLabel* navigationTitle = S::label(QStringLiteral("Plimbo"), S::font(13, QFont::Bold),
                                       S::Emphasis::secondary, sidebarColumn);
    navigationTitle->setContentsMargins(6, 0, 0, 0);
    sidebarLayout->addWidget(navigationTitle);
    m_sidebar->setFrameShape(QFrame::NoFrame);
    m_sidebar->setIconSize(QSize(16, 16));
    m_sidebar->setSpacing(1);
    m_sidebar->setAutoFillBackground(false);
    m_sidebar->viewport()->setAutoFillBackground(false);
    m_sidebar->setFont(S::font(S::Text::body));
    for (AppSection section : allAppSections()) {
        auto* item = new QListWidgetItem(sidebarIcon(symbol(section)), title(section), m_sidebar);
        item->setData(Qt::UserRole, QVariant::fromValue(section));
        item->setSizeHint(QSize(0, 30));
    }
    sidebarLayout->addWidget(m_sidebar, 1);
    sidebarColumn->setMinimumWidth(sidebarMinimumWidth);
    sidebarColumn->setAutoFillBackground(true);
    QPalette sidebarPalette = sidebarColumn->palette();
    sidebarPalette.setColor(QPalette::Window, sidebarPalette.color(QPalette::Window).darker(104));
    sidebarColumn->setPalette(sidebarPalette);

    // Detail: the toolbar's one action above the section.
    auto* toolbar = new QHBoxLayout;
    toolbar->setContentsMargins(12, 8, 12, 0);
    toolbar->addStretch(1);
    m_paletteButton->setText(QStringLiteral("Command Palette"));
    m_paletteButton->setToolTip(QStringLiteral("Command Palette"));
    m_paletteButton->setAccessibleName(QStringLiteral("Command Palette"));
    m_paletteButton->setIcon(
        SymbolIcon::icon(QStringLiteral("sparkle.magnifyingglass"), PlimboTheme::accent()));
    m_paletteButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_paletteButton->setAutoRaise(true);
    toolbar->addWidget(m_paletteButton);
    m_detailLayout->setContentsMargins(0, 0, 0, 0);
    m_detailLayout->setSpacing(0);
    m_detailLayout->addLayout(toolbar);

    m_splitter->addWidget(sidebarColumn);
    m_splitter->addWidget(m_detail);
    m_splitter->setCollapsible(0, false);
    m_splitter->setCollapsible(1, false);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({sidebarIdealWidth, 850});
    m_splitter->setHandleWidth(1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitter);

    connect(m_paletteButton, &QToolButton::clicked, this, [this] { m_model.showCommandPalette(); });
    connect(m_sidebar, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item) {
            m_model.setSelectedSection(item->data(Qt::UserRole).value<AppSection>());
        }
    });
    connect(&model, &AppModel::selectedSectionChanged, this, &DashboardView::showSelectedSection);
    m_alert = new PresentedErrorAlert(model, *this);
    showSelectedSection();
}

QString DashboardView::title(AppSection section) {
    switch (section) {
    case AppSection::overview:
        return QStringLiteral("Overview");
    case AppSection::launcher:
        return QStringLiteral("Launcher");
    case AppSection::clipboard:
        return QStringLiteral("Clipboard");
    case AppSection::ai:
        return QStringLiteral("Plimbo AI");
    case AppSection::permissions:
        return QStringLiteral("Permissions");
    case AppSection::diagnostics:
        return QStringLiteral("Diagnostics");
    }
    return {};
}

QString DashboardView::symbol(AppSection section) {
    switch (section) {
    case AppSection::overview:
        return QStringLiteral("square.grid.2x2");
    case AppSection::launcher:
        return QStringLiteral("sparkle.magnifyingglass");
    case AppSection::clipboard:
        return QStringLiteral("clipboard");
    case AppSection::ai:
        return QStringLiteral("sparkles");
    case AppSection::permissions:
        return QStringLiteral("hand.raised");
    case AppSection::diagnostics:
        return QStringLiteral("waveform.path.ecg");
    }
    return {};
}

void DashboardView::showSelectedSection() {
    const AppSection section = m_model.selectedSection();
    const int row = static_cast<int>(allAppSections().indexOf(section));
    if (m_sidebar->currentRow() != row) {
        const QSignalBlocker blocker(m_sidebar);
        m_sidebar->setCurrentRow(row);
    }
    if (m_sectionView && section == m_shownSection) {
        return;
    }
    if (m_sectionView) {
        // Later: the change may come from inside the old view.
        m_detailLayout->removeWidget(m_sectionView);
        m_sectionView->hide();
        m_sectionView->deleteLater();
    }
    m_shownSection = section;
    m_sectionView = makeSectionView(section);
    m_detailLayout->addWidget(m_sectionView, 1);
}

QWidget* DashboardView::makeSectionView(AppSection section) {
    switch (section) {
    case AppSection::overview:
        return new OverviewView(m_model, m_detail);
    case AppSection::launcher:
        return new LauncherView(m_model, m_detail);
    case AppSection::clipboard:
        return new ClipboardHistoryView(m_model, m_detail);
    case AppSection::ai:
        return new AIWorkbenchView(m_model.chatFeatures(), nullptr, m_detail);
    case AppSection::permissions:
        return new PermissionsView(m_model, m_detail);
    case AppSection::diagnostics:
        return new DiagnosticsView(m_model, m_detail);
    }
    return new QWidget(m_detail);
}

} // namespace plimbo
