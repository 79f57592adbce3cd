#include "OverviewView.h"

#include "AppModel.h"
#include "DashboardStyle.h"
#include "DashboardSymbols.h"
#include "MetricText.h"
#include "ModuleRegistry.h"
#include "ModuleRow.h"
#include "ModuleRowMatch.h"
#include "PlimboTheme.h"
#include "SectionHeader.h"
#include "StatusPill.h"
#include "SystemMonitorService.h"
#include "symbols/SymbolIcon.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QVBoxLayout>

namespace plimbo {

namespace {

// The metric strip's card: control background, rounded 16, hairline outline.
class MetricCard : public QWidget {
public:
    explicit MetricCard(QWidget* parent)
        : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF card = QRectF(rect()).adjusted(0.25, 0.25, -0.25, -0.25);
        painter.setPen(QPen(DashboardStyle::hairline(this), 0.5));
        painter.setBrush(palette().color(QPalette::Base));
        painter.drawRoundedRect(card, 16, 16);
    }
};

class Divider : public QWidget {
public:
    Divider(Qt::Orientation orientation, QWidget* parent)
        : QWidget(parent)
        , m_orientation(orientation) {
        if (orientation == Qt::Vertical) {
            setFixedSize(1, 72);
        } else {
            setFixedHeight(1);
            setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        }
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), DashboardStyle::hairline(this));
    }

private:
    Qt::Orientation m_orientation;
};

} // namespace

OverviewView::OverviewView(AppModel& model, QWidget* parent)
    : QScrollArea(parent)
    , m_model(model) {
    DashboardSymbols::load();
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAutoFillBackground(false);

    auto* page = new QWidget;
    page->setAutoFillBackground(false);
    auto* pageLayout = new QHBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    auto* content = new QWidget(page);
    content->setMaximumWidth(maximumContentWidth);
    // Up to its maximum width, then the rest of the row stays empty.
    pageLayout->addWidget(content, 1);
    pageLayout->addStretch(0);

    auto* stack = new QVBoxLayout(content);
    stack->setContentsMargins(30, 30, 30, 30);
    stack->setSpacing(28);

    auto* header = new QHBoxLayout;
    header->addWidget(new SectionHeader(QStringLiteral("Ready when you are"),
                                        QStringLiteral("One command surface. Disabled modules "
                                                       "remain dormant."),
                                        content),
                      1, Qt::AlignTop);
    m_shortcutPill = new StatusPill(
        globalShortcutHint(m_model.globalShortcuts(), PlimboGlobalShortcut::commandPalette),
        PlimboTheme::accent(), content);
    header->addWidget(m_shortcutPill, 0, Qt::AlignTop);
    stack->addLayout(header);
    stack->addWidget(systemField());

    using S = DashboardStyle;
    m_modules = new QVBoxLayout;
    m_modules->setSpacing(12);
    m_modules->addWidget(S::label(QStringLiteral("Modules"), S::font(S::Text::headline),
                                  S::Emphasis::primary, content));
    QLabel* note =
        S::label(QStringLiteral("Switching a module off stops its background work immediately."),
                 S::font(S::Text::callout), S::Emphasis::secondary, content);
    note->setWordWrap(true);
    m_modules->addWidget(note);
    stack->addLayout(m_modules);
    stack->addStretch(1);
    setWidget(page);

    connect(&model.systemMonitor(), &SystemMonitorService::snapshotChanged, this,
            &OverviewView::sampleArrived);
    connect(&model, &AppModel::globalShortcutLabelsChanged, this, [this] {
        m_shortcutPill->setText(
            globalShortcutHint(m_model.globalShortcuts(), PlimboGlobalShortcut::commandPalette));
    });
    connect(&model.registry(), &ModuleRegistry::recordsChanged, this,
            &OverviewView::refreshModules);
    refreshMetrics();
    refreshModules();
}

QWidget* OverviewView::systemField() {
    auto* card = new MetricCard(nullptr);
    auto* strip = new QHBoxLayout(card);
    strip->setContentsMargins(0, 15, 0, 15);
    strip->setSpacing(0);
    strip->addWidget(liveMetric(m_cpu, QStringLiteral("CPU"), QStringLiteral("cpu")), 1);
    strip->addWidget(new Divider(Qt::Vertical, card), 0, Qt::AlignVCenter);
    strip->addWidget(liveMetric(m_memory, QStringLiteral("MEMORY"), QStringLiteral("memorychip")),
                     1);
    strip->addWidget(new Divider(Qt::Vertical, card), 0, Qt::AlignVCenter);
    strip->addWidget(
        liveMetric(m_thermal, QStringLiteral("THERMAL"), QStringLiteral("thermometer.medium")), 1);
    strip->addWidget(new Divider(Qt::Vertical, card), 0, Qt::AlignVCenter);
    strip->addWidget(
        liveMetric(m_uptime, QStringLiteral("UPTIME"), QStringLiteral("clock.arrow.circlepath")),
        1);
    return card;
}

QWidget* OverviewView::liveMetric(QLabel*& value, const QString& label, const QString& symbol) {
    using S = DashboardStyle;
    auto* tile = new QWidget;
    auto* column = new QVBoxLayout(tile);
    column->setContentsMargins(22, 0, 22, 0);
    column->setSpacing(9);

    const QFont captionFont = S::font(10, QFont::Medium);
    auto* caption = new QHBoxLayout;
    caption->setSpacing(6);
    auto* icon = new QLabel(tile);
    const int side = S::symbolPixels(captionFont);
    icon->setPixmap(SymbolIcon::pixmap(
        symbol, QSize(side, side), S::color(tile, S::Emphasis::secondary), devicePixelRatioF()));
    caption->addWidget(icon);
    caption->addWidget(S::label(label, captionFont, S::Emphasis::secondary, tile));
    caption->addStretch(1);
    column->addLayout(caption);

    value = S::label(QString(), S::font(21, QFont::DemiBold), S::Emphasis::primary, tile);
    column->addWidget(value);
    return tile;
}

void OverviewView::sampleArrived() {
    // The dashboard is closed nearly all day: a sample nobody sees costs no work.
    if (!isVisible()) {
        m_sampleWaiting = true;
        return;
    }
    refreshMetrics();
}

void OverviewView::showEvent(QShowEvent* event) {
    if (m_sampleWaiting) {
        refreshMetrics();
    }
    QScrollArea::showEvent(event);
}

void OverviewView::refreshMetrics() {
    m_sampleWaiting = false;
    const SystemSnapshot snapshot = m_model.systemMonitor().snapshot();
    const QLocale locale;
    m_cpu->setText(MetricText::percent(snapshot.cpuUsage, locale));
    m_memory->setText(MetricText::memory(snapshot, locale));
    m_thermal->setText(snapshot.thermalState);
    m_uptime->setText(MetricText::uptime(snapshot.uptime));
}

void OverviewView::refreshModules() {
    const QList<ModuleRecord> records = m_model.registry().records();
    if (rowsMatchModules(m_rows, records,
                         [](const ModuleRow* row) { return row->record().id(); })) {
        // Health and switches change in place, so a switch under the pointer stays put.
        for (qsizetype i = 0; i < records.size(); ++i) {
            m_rows[i]->setRecord(records[i]);
        }
        return;
    }
    for (ModuleRow* row : std::as_const(m_rows)) {
        m_modules->removeWidget(row);
        row->hide();
        row->deleteLater();
    }
    for (QWidget* divider : std::as_const(m_dividers)) {
        m_modules->removeWidget(divider);
        divider->deleteLater();
    }
    m_rows.clear();
    m_dividers.clear();
    QWidget* content = m_modules->parentWidget();
    for (qsizetype i = 0; i < records.size(); ++i) {
        const QString id = records[i].id();
        QPointer<AppModel> model(&m_model);
        auto* row = new ModuleRow(
            records[i],
            [model, id](bool on) {
                if (model) {
                    model->setModuleEnabled(on, id);
                }
            },
            content);
        m_rows.append(row);
        m_modules->addWidget(row);
        if (id != records.last().id()) {
            auto* divider = new QWidget(content);
            auto* inset = new QHBoxLayout(divider);
            inset->setContentsMargins(44, 0, 0, 0);
            inset->addWidget(new Divider(Qt::Horizontal, divider));
            m_dividers.append(divider);
            m_modules->addWidget(divider);
        }
    }
}

void OverviewView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LocaleChange) {
        refreshMetrics();
    }
    QScrollArea::changeEvent(event);
}

} // namespace plimbo
