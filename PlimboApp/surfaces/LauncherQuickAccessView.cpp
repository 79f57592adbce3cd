#include "LauncherQuickAccessView.h"

#include "EmptyStateView.h"
#include "LauncherRow.h"
#include "LauncherService.h"
#include "QuickAccessSearchField.h"
#include "SelectableRowList.h"
#include "SurfaceStyle.h"
#include "SurfaceText.h"

#include <QProgressBar>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace plimbo {

namespace {

QStringList recordIDs(const QList<ApplicationRecord>& records) {
    return ListSelection::rowIDs(records,
                                 [](const ApplicationRecord& record) { return record.id; });
}

QWidget* makeIndexingView(QWidget* parent) {
    auto* view = new QWidget(parent);
    auto* progress = new QProgressBar(view);
    progress->setRange(0, 0);
    progress->setTextVisible(false);
    progress->setFixedWidth(160);
    auto* label = new SurfaceText(LauncherQuickAccessView::tr("Indexing applications…"), view);
    label->setFont(SurfaceStyle::font(SurfaceStyle::TextStyle::body));
    label->setTone(SurfaceStyle::Tone::secondary);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    progress->setAccessibleName(label->text());
    auto* column = new QVBoxLayout(view);
    column->setSpacing(10);
    column->addStretch(1);
    column->addWidget(progress, 0, Qt::AlignHCenter);
    column->addWidget(label);
    column->addStretch(1);
    return view;
}

} // namespace

LauncherQuickAccessView::LauncherQuickAccessView(
    LauncherService& launcher, const GlobalShortcuts& shortcuts, std::function<void()> dismiss,
    std::function<void(const ApplicationRecord&)> openApplication, QWidget* parent)
    : QuickAccessPanel(
          Configuration{
              QStringLiteral("sparkle.magnifyingglass"),
              tr("Open an application"),
              tr("Search applications"),
              tr("Plimbo Launcher"),
              panelHeight,
              tr("Open"),
          },
          std::move(dismiss), parent)
    , m_launcher(launcher)
    , m_openApplication(std::move(openApplication))
    , m_selection([this](const std::optional<QString>& id) { m_list->setSelectedID(id); }) {
    followShortcut(shortcuts, PlimboGlobalShortcut::launcher);
    m_indexing = makeIndexingView(this);
    m_list = new SelectableRowList(this);
    m_emptyState =
        new EmptyStateView(QStringLiteral("sparkle.magnifyingglass"), tr("No applications found"),
                           tr("Try another app name."), this);
    content()->addWidget(m_indexing);
    content()->addWidget(m_list);
    content()->addWidget(m_emptyState);

    connect(&launcher, &LauncherService::applicationsChanged, this,
            &LauncherQuickAccessView::applicationsChanged);
    // Indexing only swaps the progress indicator and the list; the selection stays.
    connect(&launcher, &LauncherService::isIndexingChanged, this,
            &LauncherQuickAccessView::showContent);
    connect(m_list, &SelectableRowList::rowClicked, this, &LauncherQuickAccessView::openRow);

    rebuildRows();
}

QList<ApplicationRecord> LauncherQuickAccessView::results() const {
    return m_launcher.search(query(), resultLimit);
}

LauncherQuickAccessView::Content LauncherQuickAccessView::shownContent() const {
    if (content()->currentWidget() == m_indexing) {
        return Content::indexing;
    }
    return content()->currentWidget() == m_list ? Content::results : Content::empty;
}

void LauncherQuickAccessView::rebuildRows() {
    QList<SelectableRow*> rows;
    for (const ApplicationRecord& record : results()) {
        rows.append(new LauncherRow(record));
    }
    m_list->setRows(rows);
    m_list->setSelectedID(m_selection.selectedID());
    showContent();
}

void LauncherQuickAccessView::showContent() {
    QWidget* shown = m_emptyState;
    if (m_launcher.isIndexing()) {
        shown = m_indexing;
    } else if (!m_list->rows().isEmpty()) {
        shown = m_list;
    }
    content()->setCurrentWidget(shown);
}

void LauncherQuickAccessView::selectFirst() {
    m_selection.selectFirst(recordIDs(results()));
}

void LauncherQuickAccessView::appearanceStep() {
    setQuery(QString());
    selectFirst();
    searchField()->setFocus(Qt::OtherFocusReason);
}

void LauncherQuickAccessView::queryStep() {
    rebuildRows();
    selectFirst();
}

void LauncherQuickAccessView::applicationsChanged() {
    rebuildRows();
    selectFirst();
}

void LauncherQuickAccessView::moveSelection(int delta) {
    m_selection.move(recordIDs(results()), delta);
}

void LauncherQuickAccessView::openSelection() {
    const QList<ApplicationRecord> current = results();
    const qsizetype index = m_selection.chosenIndex(recordIDs(current));
    if (index >= 0 && m_openApplication) {
        m_openApplication(current.at(index));
    }
}

void LauncherQuickAccessView::openRow(const QString& id) {
    const QList<ApplicationRecord> current = results();
    const qsizetype index = recordIDs(current).indexOf(id);
    if (index >= 0 && m_openApplication) {
        m_openApplication(current.at(index));
    }
}

} // namespace plimbo
