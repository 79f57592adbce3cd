#include "DiagnosticsView.h"

#include "DashboardList.h"
#include "DashboardStyle.h"
#include "DashboardSymbols.h"
#include "ModuleRegistry.h"
#include "ModuleRowMatch.h"
#include "SectionHeader.h"
#include "symbols/SymbolIcon.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace plimbo {

DiagnosticsView::DiagnosticsView(ModuleRegistry& registry, QWidget* parent)
    : QWidget(parent)
    , m_registry(registry)
    , m_list(new DashboardList(this)) {
    DashboardSymbols::load();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(30, 30, 30, 30);
    layout->setSpacing(20);
    layout->addWidget(new SectionHeader(QStringLiteral("Diagnostics"),
                                        QStringLiteral("A transparent view of Plimbo's own active "
                                                       "work."),
                                        this));
    layout->addWidget(m_list, 1);
    connect(&registry, &ModuleRegistry::recordsChanged, this, &DiagnosticsView::refresh);
    refresh();
}

QString DiagnosticsView::taskCount(qint64 activeTasks) {
    return QString::number(activeTasks) + QStringLiteral(" tasks");
}

QList<DiagnosticsView::RowTexts> DiagnosticsView::rowTexts() const {
    QList<RowTexts> texts;
    for (const Row& row : m_rows) {
        texts.append({row.name->text(), row.health->text(), row.tasks->text()});
    }
    return texts;
}

void DiagnosticsView::refresh() {
    using S = DashboardStyle;
    const QList<ModuleRecord> records = m_registry.records();
    if (!rowsMatchModules(m_rows, records, [](const Row& row) { return row.id; })) {
        m_rows.clear();
        QList<QWidget*> widgets;
        const QFont nameFont = S::font(S::Text::body);
        for (const ModuleRecord& record : records) {
            auto* widget = new QWidget;
            auto* line = new QHBoxLayout(widget);
            line->setContentsMargins(8, 4, 8, 4);
            auto* icon = new QLabel(widget);
            icon->setFixedWidth(28);
            icon->setAlignment(Qt::AlignCenter);
            const int side = S::symbolPixels(nameFont) + 2;
            icon->setPixmap(SymbolIcon::pixmap(record.manifest.symbol, QSize(side, side),
                                               S::color(this, S::Emphasis::primary),
                                               devicePixelRatioF()));
            line->addWidget(icon);
            Row row{record.id()};
            auto* texts = new QVBoxLayout;
            row.name = S::label(QString(), nameFont, S::Emphasis::primary, widget);
            row.health =
                S::label(QString(), S::font(S::Text::caption), S::Emphasis::secondary, widget);
            texts->addWidget(row.name);
            texts->addWidget(row.health);
            line->addLayout(texts, 1);
            row.tasks =
                S::label(QString(), S::font(S::Text::caption), S::Emphasis::secondary, widget);
            line->addWidget(row.tasks);
            m_rows.append(row);
            widgets.append(widget);
        }
        m_list->setRows(widgets);
    }
    for (qsizetype i = 0; i < records.size(); ++i) {
        m_rows[i].name->setText(records[i].manifest.name);
        m_rows[i].health->setText(records[i].health.label());
        m_rows[i].tasks->setText(taskCount(records[i].resourceUsage.activeTasks));
    }
}

} // namespace plimbo
