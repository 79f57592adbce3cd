#include "ModuleRow.h"

#include "DashboardStyle.h"
#include "DashboardSymbols.h"
#include "PlimboTheme.h"
#include "SettingsSwitch.h"
#include "symbols/SymbolIcon.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace plimbo {

namespace {

constexpr int kIconFrame = 30;
constexpr int kIconPixels = 17;

} // namespace

ModuleRow::ModuleRow(const ModuleRecord& record, std::function<void(bool)> setEnabled,
                     QWidget* parent)
    : QWidget(parent)
    , m_record(record)
    , m_setEnabled(std::move(setEnabled)) {
    DashboardSymbols::load();
    using S = DashboardStyle;
    m_icon = new QLabel(this);
    m_icon->setFixedSize(kIconFrame, kIconFrame);
    m_icon->setAlignment(Qt::AlignCenter);
    m_name = S::label(QString(), S::font(13, QFont::Medium), S::Emphasis::primary, this);
    m_capability = S::label(QString(), S::font(S::Text::caption2), S::Emphasis::secondary, this);
    m_health = S::label(QString(), S::font(S::Text::caption), S::Emphasis::secondary, this);
    m_detail = S::label(QString(), S::font(S::Text::caption), S::Emphasis::tertiary, this);
    m_toggle = new SettingsSwitch(this);

    auto* titleLine = new QHBoxLayout;
    titleLine->setSpacing(8);
    titleLine->addWidget(m_name);
    titleLine->addWidget(m_capability);
    titleLine->addStretch(1);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(3);
    texts->addLayout(titleLine);
    texts->addWidget(m_health);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 7, 0, 7);
    layout->setSpacing(14);
    layout->addWidget(m_icon);
    layout->addLayout(texts, 1);
    layout->addWidget(m_detail);
    layout->addWidget(m_toggle);

    connect(m_toggle, &SettingsSwitch::switchRequested, this, [this](bool on) {
        if (m_setEnabled) {
            m_setEnabled(on);
        }
    });
    refresh();
}

void ModuleRow::setRecord(const ModuleRecord& record) {
    if (m_record == record) {
        return;
    }
    m_record = record;
    refresh();
}

QColor ModuleRow::iconColor() const {
    return m_record.isEnabled ? PlimboTheme::accent()
                              : DashboardStyle::color(this, DashboardStyle::Emphasis::secondary);
}

void ModuleRow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        refresh();
    }
    QWidget::changeEvent(event);
}

void ModuleRow::refresh() {
    const ModuleManifest& manifest = m_record.manifest;
    const qreal ratio = devicePixelRatioF();
    m_icon->setPixmap(
        SymbolIcon::pixmap(manifest.symbol, QSize(kIconPixels, kIconPixels), iconColor(), ratio));
    m_name->setText(manifest.name);
    const bool available = manifest.capability == PlimboCapabilityStatus::available;
    m_capability->setText(available ? QString() : label(manifest.capability));
    m_capability->setVisible(!available);
    m_health->setText(m_record.health.label());
    m_detail->setText(m_record.resourceUsage.detail);
    m_toggle->setOn(m_record.isEnabled);
    m_toggle->setAccessibleName(QStringLiteral("Enable ") + manifest.name);
    m_toggle->setAccessibleDescription(m_record.isEnabled ? QStringLiteral("Enabled")
                                                          : QStringLiteral("Disabled"));
}

} // namespace plimbo
