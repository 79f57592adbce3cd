#include "LauncherView.h"

#include "ApplicationRecord.h"
#include "DashboardList.h"
#include "DashboardRowButton.h"
#include "DashboardStyle.h"
#include "DashboardSymbols.h"
#include "LauncherService.h"
#include "SectionHeader.h"
#include "symbols/SymbolIcon.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QVBoxLayout>

namespace plimbo {

namespace {

const char* const kRecordId = "plimboApplicationId";

// A path label that keeps to one line and cuts what does not fit.
class ElidedLabel : public QLabel {
public:
    ElidedLabel(const QString& text, QWidget* parent)
        : QLabel(parent)
        , m_full(text) {
        setTextFormat(Qt::PlainText);
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        // Tool tips take markup; a path is shown as it is.
        setToolTip(QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
                   QStringLiteral("</p>"));
        setText(text);
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        setText(fontMetrics().elidedText(m_full, Qt::ElideRight, width()));
        QLabel::resizeEvent(event);
    }

private:
    QString m_full;
};

} // namespace

LauncherView::LauncherView(LauncherService& launcher, QWidget* parent)
    : QWidget(parent)
    , m_launcher(launcher)
    , m_query(new QLineEdit(this))
    , m_list(new DashboardList(this)) {
    DashboardSymbols::load();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(30, 30, 30, 30);
    layout->setSpacing(18);
    layout->addWidget(new SectionHeader(QStringLiteral("Launcher"),
                                        QStringLiteral("Open applications without leaving the "
                                                       "keyboard."),
                                        this));
    m_query->setPlaceholderText(QStringLiteral("Find an application"));
    m_query->setClearButtonEnabled(false);
    layout->addWidget(m_query);
    layout->addWidget(m_list, 1);

    connect(m_query, &QLineEdit::textChanged, this, &LauncherView::refresh);
    connect(&launcher, &LauncherService::applicationsChanged, this, &LauncherView::refresh);
    refresh();
}

QStringList LauncherView::listedIds() const {
    QStringList ids;
    for (QWidget* row : m_list->rows()) {
        ids.append(row->property(kRecordId).toString());
    }
    return ids;
}

void LauncherView::refresh() {
    using S = DashboardStyle;
    const QList<ApplicationRecord> results = m_launcher.search(m_query->text(), resultLimit);
    QList<QWidget*> rows;
    rows.reserve(results.size());
    for (const ApplicationRecord& record : results) {
        auto* row = new DashboardRowButton;
        row->setProperty(kRecordId, record.id);
        row->setAccessibleName(record.name);
        QHBoxLayout* line = row->rowLayout();
        line->setContentsMargins(8, 6, 8, 6);
        line->setSpacing(12);
        auto* icon = new QLabel(row);
        icon->setFixedWidth(26);
        icon->setAlignment(Qt::AlignCenter);
        const QFont nameFont = S::font(S::Text::body);
        const int side = S::symbolPixels(nameFont) + 2;
        icon->setPixmap(SymbolIcon::pixmap(QStringLiteral("app"), QSize(side, side),
                                           S::color(this, S::Emphasis::primary),
                                           devicePixelRatioF()));
        icon->setAttribute(Qt::WA_TransparentForMouseEvents);
        line->addWidget(icon);
        auto* texts = new QVBoxLayout;
        texts->setSpacing(2);
        texts->addWidget(S::label(record.name, nameFont, S::Emphasis::primary, row));
        auto* path = new ElidedLabel(record.url.toLocalFile().isEmpty() ? record.url.toString()
                                                                        : record.url.toLocalFile(),
                                     row);
        path->setFont(S::font(S::Text::caption));
        S::setEmphasis(path, S::Emphasis::secondary);
        path->setAttribute(Qt::WA_TransparentForMouseEvents);
        texts->addWidget(path);
        line->addLayout(texts, 1);

        QPointer<LauncherService> launcher(&m_launcher);
        connect(row, &QAbstractButton::clicked, this, [launcher, record] {
            if (launcher) {
                // A refused launch is not reported here.
                launcher->launch(record);
            }
        });
        rows.append(row);
    }
    m_list->setRows(rows);
}

} // namespace plimbo
