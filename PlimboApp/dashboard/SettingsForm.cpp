#include "SettingsForm.h"

#include "DashboardStyle.h"
#include "SettingsSwitch.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace plimbo {

namespace {

constexpr int kRowHeight = 36;

// The rounded card of one section; draws the hairlines between its rows itself.
class FormCard : public QWidget {
public:
    explicit FormCard(QWidget* parent)
        : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF card = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setPen(QPen(DashboardStyle::hairline(this), 1));
        QColor fill = palette().color(QPalette::Base);
        painter.setBrush(fill);
        painter.drawRoundedRect(card, 8, 8);
        painter.setRenderHint(QPainter::Antialiasing, false);
        const QList<QWidget*> rows = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* row : rows) {
            if (!row->isVisible() || row->y() <= 1) {
                continue;
            }
            painter.fillRect(QRect(12, row->y() - 1, width() - 24, 1),
                             DashboardStyle::hairline(this));
        }
    }
};

} // namespace

SettingsForm::SettingsForm(QWidget* parent)
    : QScrollArea(parent)
    , m_content(new QWidget)
    , m_layout(new QVBoxLayout(m_content)) {
    m_layout->setContentsMargins(20, 16, 20, 16);
    m_layout->setSpacing(0);
    m_layout->addStretch(1);
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidget(m_content);
    viewport()->setAutoFillBackground(false);
    m_content->setAutoFillBackground(false);
}

void SettingsForm::addSection(const QString& title) {
    Section section;
    section.heading =
        DashboardStyle::label(title, DashboardStyle::font(DashboardStyle::Text::headline),
                              DashboardStyle::Emphasis::primary, m_content);
    section.heading->setContentsMargins(4, m_sections.isEmpty() ? 0 : 18, 0, 6);
    section.card = new FormCard(m_content);
    section.rows = new QVBoxLayout(section.card);
    section.rows->setContentsMargins(0, 0, 0, 0);
    section.rows->setSpacing(1);
    const int at = m_layout->count() - 1; // before the stretch
    m_layout->insertWidget(at, section.heading);
    m_layout->insertWidget(at + 1, section.card);
    section.card->hide();
    m_sections.append(section);
}

void SettingsForm::addRow(QWidget* row) {
    if (m_sections.isEmpty()) {
        addSection(QString());
    }
    Section& section = m_sections.last();
    row->setParent(section.card);
    row->setMinimumHeight(kRowHeight);
    if (!row->layout()) {
        row->setContentsMargins(12, 6, 12, 6);
    }
    section.rows->addWidget(row);
    row->show();
    ++section.rowCount;
    section.card->show();
}

QWidget* SettingsForm::addLabeledRow(const QString& label, QWidget* content) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(12, 6, 12, 6);
    layout->addWidget(DashboardStyle::label(label, DashboardStyle::font(DashboardStyle::Text::body),
                                            DashboardStyle::Emphasis::primary, row));
    layout->addStretch(1);
    content->setParent(row);
    layout->addWidget(content);
    addRow(row);
    return row;
}

SettingsSwitch* SettingsForm::addSwitchRow(QWidget* label, const QString& accessibleName) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(12, 6, 12, 6);
    label->setParent(row);
    layout->addWidget(label, 1);
    auto* toggle = new SettingsSwitch(row);
    toggle->setAccessibleName(accessibleName);
    layout->addWidget(toggle, 0, Qt::AlignVCenter);
    addRow(row);
    return toggle;
}

QLabel* SettingsForm::addNote(const QString& text) {
    QLabel* note = DashboardStyle::label(text, DashboardStyle::font(DashboardStyle::Text::caption),
                                         DashboardStyle::Emphasis::secondary);
    note->setWordWrap(true);
    addRow(note);
    return note;
}

QLabel* SettingsForm::addParagraph(const QString& text) {
    QLabel* paragraph =
        DashboardStyle::label(text, DashboardStyle::font(DashboardStyle::Text::body),
                              DashboardStyle::Emphasis::secondary);
    paragraph->setWordWrap(true);
    addRow(paragraph);
    return paragraph;
}

void SettingsForm::clearSection() {
    if (m_sections.isEmpty()) {
        return;
    }
    Section& section = m_sections.last();
    while (QLayoutItem* item = section.rows->takeAt(0)) {
        if (QWidget* widget = item->widget()) {
            widget->hide();
            widget->deleteLater();
        }
        delete item;
    }
    section.rowCount = 0;
    section.card->hide();
}

QStringList SettingsForm::sectionTitles() const {
    QStringList titles;
    for (const Section& section : m_sections) {
        titles.append(section.heading->text());
    }
    return titles;
}

} // namespace plimbo
