#include "LauncherRow.h"

#include "ApplicationIcon.h"
#include "SurfaceStyle.h"
#include "SurfaceText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace plimbo {

QString LauncherRow::folderPath(const ApplicationRecord& record) {
    return record.url.adjusted(QUrl::RemoveFilename | QUrl::StripTrailingSlash)
        .path(QUrl::FullyDecoded);
}

LauncherRow::LauncherRow(const ApplicationRecord& record, QWidget* parent)
    : SelectableRow(record.id, parent)
    , m_name(new SurfaceText(record.name, this))
    , m_folder(new SurfaceText(folderPath(record), this))
    , m_returnMark(new SurfaceText(tr("↩"), this)) {
    auto* icon = new QLabel(this);
    icon->setFixedSize(34, 34);
    icon->setPixmap(ApplicationIcon::forRecord(record, SurfaceStyle::secondary(palette()))
                        .pixmap(QSize(34, 34), devicePixelRatioF()));
    icon->setScaledContents(true);

    m_name->setFont(SurfaceStyle::font(SurfaceStyle::TextStyle::body, QFont::Medium));
    m_folder->setFont(SurfaceStyle::font(SurfaceStyle::TextStyle::caption));
    m_folder->setTone(SurfaceStyle::Tone::secondary);
    m_folder->setElideMode(Qt::ElideMiddle);
    m_returnMark->setFont(SurfaceStyle::monospace(SurfaceStyle::TextStyle::caption));
    m_returnMark->setTone(SurfaceStyle::Tone::secondary);
    m_returnMark->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // Keeps its place in the row while hidden, so the texts do not jump.
    QSizePolicy markPolicy = m_returnMark->sizePolicy();
    markPolicy.setRetainSizeWhenHidden(true);
    m_returnMark->setSizePolicy(markPolicy);
    m_returnMark->setVisible(false);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(3);
    texts->addWidget(m_name);
    texts->addWidget(m_folder);

    auto* label = new QHBoxLayout(this);
    label->setContentsMargins(8, 4, 10, 4);
    label->setSpacing(13);
    label->addWidget(icon, 0, Qt::AlignVCenter);
    label->addLayout(texts, 1);
    label->addSpacing(8);
    label->addWidget(m_returnMark, 0, Qt::AlignVCenter);

    setAccessibleName(record.name);
}

void LauncherRow::selectionChanged(bool selected) {
    m_returnMark->setVisible(selected);
}

} // namespace plimbo
