#include "QuickAccessPanel.h"

#include "GlobalShortcuts.h"
#include "HairlineDivider.h"
#include "Keycap.h"
#include "PlimboTheme.h"
#include "QuickAccessFooter.h"
#include "QuickAccessSearchField.h"
#include "SurfaceStyle.h"
#include "SymbolView.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QShowEvent>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace plimbo {

QuickAccessPanel::QuickAccessPanel(const Configuration& configuration,
                                   std::function<void()> dismiss, QWidget* parent)
    : QWidget(parent)
    , m_dismiss(std::move(dismiss)) {
    SurfaceStyle::registerSymbols();
    QPalette tinted = palette();
    tinted.setColor(QPalette::Highlight, PlimboTheme::accent());
    setPalette(tinted);
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(width, configuration.height);
    setAccessibleName(configuration.panelAccessibleName);

    auto* header = new QWidget(this);
    header->setFixedHeight(headerHeight);
    auto* symbol = new SymbolView(configuration.symbol, 18, header);
    symbol->setTone(SurfaceStyle::Tone::accent);
    // Decoration only: the field says what the panel is for.
    symbol->setAccessibleName(QString());
    m_searchField = new QuickAccessSearchField(configuration.placeholder, header);
    m_searchField->setAccessibleName(configuration.fieldAccessibleName);
    auto* headerRow = new QHBoxLayout(header);
    headerRow->setContentsMargins(20, 0, 20, 0);
    headerRow->setSpacing(12);
    headerRow->addWidget(symbol, 0, Qt::AlignVCenter);
    headerRow->addWidget(m_searchField, 1, Qt::AlignVCenter);
    headerRow->addWidget(new Keycap(QStringLiteral("esc"), header), 0, Qt::AlignVCenter);

    m_content = new QStackedWidget(this);
    m_footer = new QuickAccessFooter(configuration.openLabel, QString(), this);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(header);
    column->addWidget(new HairlineDivider(Qt::Horizontal, 0, this));
    column->addWidget(m_content, 1);
    column->addWidget(m_footer);

    connect(m_searchField, &QLineEdit::textChanged, this, [this] { queryStep(); });
    connect(m_searchField, &QuickAccessSearchField::submitted, this, [this] { primaryAction(); });
    connect(m_searchField, &QuickAccessSearchField::selectionStepRequested, this,
            [this](int delta) { moveSelection(delta); });
}

QString QuickAccessPanel::query() const {
    return m_searchField->text();
}

void QuickAccessPanel::followShortcut(const GlobalShortcuts& shortcuts,
                                      PlimboGlobalShortcut shortcut) {
    m_footer->setShortcut(globalShortcutHint(shortcuts, shortcut));
    connect(&shortcuts, &GlobalShortcuts::labelsChanged, this, [this, &shortcuts, shortcut] {
        m_footer->setShortcut(globalShortcutHint(shortcuts, shortcut));
    });
}

void QuickAccessPanel::setQuery(const QString& query) {
    m_searchField->setText(query);
}

void QuickAccessPanel::dismiss() {
    if (m_dismiss) {
        m_dismiss();
    }
}

void QuickAccessPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        appearanceStep();
    }
}

void QuickAccessPanel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        dismiss();
        return;
    }
    QWidget::keyPressEvent(event);
}

void QuickAccessPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    SurfaceStyle::paintPanel(painter, QRectF(rect()), cornerRadius, palette());
}

} // namespace plimbo
