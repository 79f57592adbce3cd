#include "ClipboardRow.h"

#include "SurfaceStyle.h"
#include "SurfaceText.h"
#include "SymbolView.h"

#include <QHBoxLayout>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace plimbo {

namespace {

// The locale's long date without the weekday and with short month names ("Dec 8, 2025",
// "8. Dez. 2025").
QString abbreviatedDateFormat(const QLocale& locale) {
    QString format = locale.dateFormat(QLocale::LongFormat);
    static const QRegularExpression weekday(QStringLiteral("d{4}[^dMyGg']*"),
                                            QRegularExpression::UseUnicodePropertiesOption);
    format.remove(weekday);
    static const QRegularExpression longMonth(QStringLiteral("M{4}"),
                                              QRegularExpression::UseUnicodePropertiesOption);
    format.replace(longMonth, QStringLiteral("MMM"));
    // A weekday at the end leaves its separator behind.
    static const QRegularExpression trailing(QStringLiteral("[\\s,]+$"),
                                             QRegularExpression::UseUnicodePropertiesOption);
    format.remove(trailing);
    return format.trimmed();
}

// The locale's short time without seconds ("10:04 PM", "22:04").
QString shortenedTimeFormat(const QLocale& locale) {
    QString format = locale.timeFormat(QLocale::ShortFormat);
    static const QRegularExpression seconds(QStringLiteral("[^HhmAaPpt' ]?s{1,2}"),
                                            QRegularExpression::UseUnicodePropertiesOption);
    format.remove(seconds);
    return format.trimmed();
}

} // namespace

QString ClipboardRow::timestamp(const QDateTime& createdAt, const QLocale& locale) {
    const QDateTime local = createdAt.toLocalTime();
    return locale.toString(local.date(), abbreviatedDateFormat(locale)) + QStringLiteral(", ") +
           locale.toString(local.time(), shortenedTimeFormat(locale));
}

ClipboardRow::ClipboardRow(const ClipboardItem& item, QWidget* parent)
    : SelectableRow(item.id.toString(QUuid::WithoutBraces), parent)
    , m_symbol(new SymbolView(item.isPinned ? QStringLiteral("pin.fill")
                                            : QStringLiteral("doc.on.clipboard"),
                              16, this))
    , m_preview(new SurfaceText(item.preview(), this))
    , m_time(new SurfaceText(timestamp(item.createdAt), this))
    , m_returnMark(new SurfaceText(tr("↩"), this)) {
    m_symbol->setFixedSize(28, 28);
    m_symbol->setTone(item.isPinned ? SurfaceStyle::Tone::accent : SurfaceStyle::Tone::secondary);
    m_symbol->setBackdrop(0.055, 8);

    m_preview->setFont(SurfaceStyle::font(SurfaceStyle::TextStyle::body));
    m_preview->setMaximumLines(2);
    m_time->setFont(SurfaceStyle::font(SurfaceStyle::TextStyle::caption2));
    m_time->setTone(SurfaceStyle::Tone::secondary);
    m_returnMark->setFont(SurfaceStyle::monospace(SurfaceStyle::TextStyle::caption));
    m_returnMark->setTone(SurfaceStyle::Tone::secondary);
    QSizePolicy markPolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    markPolicy.setRetainSizeWhenHidden(true);
    m_returnMark->setSizePolicy(markPolicy);
    m_returnMark->setVisible(false);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    texts->addWidget(m_preview);
    texts->addWidget(m_time);

    auto* label = new QHBoxLayout(this);
    label->setContentsMargins(8, 5, 10, 5);
    label->setSpacing(12);
    label->addWidget(m_symbol, 0, Qt::AlignVCenter);
    label->addLayout(texts, 1);
    label->addSpacing(8);
    label->addWidget(m_returnMark, 0, Qt::AlignVCenter);

    setAccessibleName(item.preview());
}

void ClipboardRow::selectionChanged(bool selected) {
    m_returnMark->setVisible(selected);
}

} // namespace plimbo
