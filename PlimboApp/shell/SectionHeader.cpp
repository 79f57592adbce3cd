#include "SectionHeader.h"

#include <QLabel>
#include <QVBoxLayout>

namespace plimbo {

namespace {

QLabel* plainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeading | Qt::AlignVCenter);
    return label;
}

} // namespace

SectionHeader::SectionHeader(const QString& title, const QString& detail, QWidget* parent)
    : QWidget(parent)
    , m_title(plainLabel(title, this))
    , m_detail(plainLabel(detail, this)) {
    QFont titleFont = font();
    titleFont.setPixelSize(24);
    titleFont.setWeight(QFont::DemiBold);
    m_title->setFont(titleFont);

    QFont detailFont = font();
    detailFont.setPixelSize(12);
    m_detail->setFont(detailFont);
    // Secondary text: the normal text colour at half strength.
    QPalette detailPalette = m_detail->palette();
    QColor secondary = detailPalette.color(QPalette::WindowText);
    secondary.setAlphaF(0.5);
    detailPalette.setColor(QPalette::WindowText, secondary);
    m_detail->setPalette(detailPalette);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(5);
    layout->addWidget(m_title);
    layout->addWidget(m_detail);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);

    // One element for assistive technology: the texts are read together.
    setAccessibleName(title + QStringLiteral(", ") + detail);
}

QString SectionHeader::title() const {
    return m_title->text();
}

QString SectionHeader::detail() const {
    return m_detail->text();
}

} // namespace plimbo
