#include "LauncherQuickAccessView.h"

#include "AppModel.h"
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

#include <algorithm>

namespace plimbo {

namespace {

qsizetype indexOf(const QList<ApplicationRecord>& records, const std::optional<QString>& id) {
    if (!id) {
        return -1;
    }
    const auto found =
        std::find_if(records.cbegin(), records.cend(),
                     [&](const ApplicationRecord& record) { return record.id == *id; });
    return found == records.cend() ? -1 : found - records.cbegin();
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
    AppModel& model, std::function<void()> dismiss,
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
    , m_model(model)
    , m_openApplication(std::move(openApplication)) {
    followShortcut(m_model, PlimboGlobalShortcut::launcher);
    m_indexing = makeIndexingView(this);
    m_list = new SelectableRowList(this);
    m_emptyState =
        new EmptyStateView(QStringLiteral("sparkle.magnifyingglass"), tr("No applications found"),
                           tr("Try another app name."), this);
    content()->addWidget(m_indexing);
    content()->addWidget(m_list);
    content()->addWidget(m_emptyState);

    LauncherService& launcher = m_model.launcher();
    connect(&launcher, &LauncherService::applicationsChanged, this,
            &LauncherQuickAccessView::applicationsChanged);
    // Indexing only swaps the progress indicator and the list; the selection stays.
    connect(&launcher, &LauncherService::isIndexingChanged, this,
            &LauncherQuickAccessView::showContent);
    connect(m_list, &SelectableRowList::rowClicked, this, &LauncherQuickAccessView::openRow);

    rebuildRows();
}

QList<ApplicationRecord> LauncherQuickAccessView::results() const {
    return m_model.launcher().search(query(), resultLimit);
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
    m_list->setSelectedID(m_selectedID);
    showContent();
}

void LauncherQuickAccessView::showContent() {
    QWidget* shown = m_emptyState;
    if (m_model.launcher().isIndexing()) {
        shown = m_indexing;
    } else if (!m_list->rows().isEmpty()) {
        shown = m_list;
    }
    content()->setCurrentWidget(shown);
}

void LauncherQuickAccessView::selectFirst() {
    const QList<ApplicationRecord> current = results();
    setSelectedID(current.isEmpty() ? std::nullopt : std::optional<QString>(current.first().id));
}

void LauncherQuickAccessView::setSelectedID(const std::optional<QString>& id) {
    m_selectedID = id;
    m_list->setSelectedID(id);
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
    const QList<ApplicationRecord> current = results();
    if (current.isEmpty()) {
        return;
    }
    const qsizetype base = std::max<qsizetype>(indexOf(current, m_selectedID), 0);
    const qsizetype index = std::clamp<qsizetype>(base + delta, 0, current.size() - 1);
    setSelectedID(current.at(index).id);
}

void LauncherQuickAccessView::openSelection() {
    const QList<ApplicationRecord> current = results();
    if (current.isEmpty()) {
        return;
    }
    const qsizetype index = std::max<qsizetype>(indexOf(current, m_selectedID), 0);
    if (m_openApplication) {
        m_openApplication(current.at(index));
    }
}

void LauncherQuickAccessView::openRow(const QString& id) {
    const QList<ApplicationRecord> current = results();
    const qsizetype index = indexOf(current, id);
    if (index >= 0 && m_openApplication) {
        m_openApplication(current.at(index));
    }
}

} // namespace plimbo
