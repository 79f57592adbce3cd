#include "PermissionsView.h"

#include "DashboardList.h"
#include "DashboardStyle.h"
#include "DashboardSymbols.h"
#include "PermissionCenter.h"
#include "PlimboTheme.h"
#include "PresentedError.h"
#include "SectionHeader.h"
#include "StatusPill.h"
#include "symbols/SymbolIcon.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace plimbo {

PermissionsView::PermissionsView(PermissionCenter& permissions, PresentedError& error,
                                 QWidget* parent)
    : QWidget(parent)
    , m_permissions(permissions)
    , m_error(error)
    , m_refresh(new QPushButton(QStringLiteral("Refresh"), this))
    , m_list(new DashboardList(this)) {
    DashboardSymbols::load();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(30, 30, 30, 30);
    layout->setSpacing(20);
    auto* header = new QHBoxLayout;
    header->addWidget(new SectionHeader(QStringLiteral("Permissions"),
                                        QStringLiteral("Plimbo asks only when a related feature "
                                                       "is used."),
                                        this),
                      1, Qt::AlignBottom);
    header->addWidget(m_refresh, 0, Qt::AlignBottom);
    layout->addLayout(header);
    layout->addWidget(m_list, 1);

    QList<QWidget*> rows;
    for (PermissionKind kind : allPermissionKinds()) {
        rows.append(makeRow(kind));
    }
    m_list->setRows(rows);

    QPointer<PermissionCenter> guarded(&permissions);
    connect(m_refresh, &QPushButton::clicked, this, [guarded] {
        if (guarded) {
            guarded->refresh();
        }
    });
    connect(&permissions, &PermissionCenter::statesChanged, this, &PermissionsView::refresh);
    refresh();
}

QString PermissionsView::signedBuildNote() {
    return QStringLiteral(
        "Linux needs no Developer ID build: every feature works in this one, and system and "
        "network extensions are not needed on Linux.");
}

QString PermissionsView::symbol(PermissionKind kind) {
    switch (kind) {
    case PermissionKind::screenRecording:
        return QStringLiteral("rectangle.dashed.badge.record");
    case PermissionKind::microphone:
        return QStringLiteral("mic");
    case PermissionKind::speechRecognition:
        return QStringLiteral("waveform");
    case PermissionKind::fullDiskAccess:
        return QStringLiteral("externaldrive");
    case PermissionKind::notifications:
        return QStringLiteral("bell");
    case PermissionKind::loginItem:
        return QStringLiteral("power");
    case PermissionKind::systemExtension:
        return QStringLiteral("puzzlepiece.extension");
    case PermissionKind::networkExtension:
        return QStringLiteral("network");
    }
    return {};
}

QWidget* PermissionsView::makeRow(PermissionKind kind) {
    using S = DashboardStyle;
    auto* row = new QWidget;
    row->setAccessibleName(name(kind));
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(8, 5, 8, 5);
    line->setSpacing(12);

    auto* icon = new QLabel(row);
    icon->setFixedWidth(24);
    icon->setAlignment(Qt::AlignCenter);
    const QFont nameFont = S::font(13, QFont::Medium);
    const int side = S::symbolPixels(nameFont) + 2;
    icon->setPixmap(SymbolIcon::pixmap(symbol(kind), QSize(side, side),
                                       S::color(this, S::Emphasis::primary), devicePixelRatioF()));
    line->addWidget(icon);

    Row parts;
    auto* texts = new QVBoxLayout;
    texts->setSpacing(3);
    texts->addWidget(S::label(name(kind), nameFont, S::Emphasis::primary, row));
    parts.state = S::label(QString(), S::font(S::Text::caption), S::Emphasis::secondary, row);
    texts->addWidget(parts.state);
    line->addLayout(texts, 1);

    parts.limit = new QWidget(row);
    auto* limit = new QHBoxLayout(parts.limit);
    limit->setContentsMargins(0, 0, 0, 0);
    limit->addWidget(
        new StatusPill(QStringLiteral("Ad-hoc limit"), PlimboTheme::warning(), parts.limit));
    parts.why = new QPushButton(QStringLiteral("Why?"), parts.limit);
    limit->addWidget(parts.why);
    line->addWidget(parts.limit);

    parts.request = new QPushButton(QStringLiteral("Request"), row);
    line->addWidget(parts.request);
    parts.openSettings = new QPushButton(QStringLiteral("Open Settings"), row);
    line->addWidget(parts.openSettings);

    QPointer<PresentedError> error(&m_error);
    connect(parts.why, &QPushButton::clicked, this, [error] {
        if (error) {
            error->setMessage(signedBuildNote());
        }
    });
    QPointer<PermissionCenter> permissions(&m_permissions);
    connect(parts.request, &QPushButton::clicked, this, [permissions] {
        if (permissions) {
            // The centre refreshes its states itself; the answer is not needed here.
            permissions->requestScreenRecording();
        }
    });
    connect(parts.openSettings, &QPushButton::clicked, this, [permissions, kind] {
        if (permissions) {
            permissions->openSystemSettings(kind);
        }
    });
    m_rows.insert(kind, parts);
    return row;
}

QString PermissionsView::stateText(PermissionKind kind) const {
    return m_rows.value(kind).state ? m_rows.value(kind).state->text() : QString();
}

PermissionsView::Action PermissionsView::action(PermissionKind kind) const {
    return m_rows.value(kind).action;
}

QPushButton* PermissionsView::actionButton(PermissionKind kind) const {
    const Row row = m_rows.value(kind);
    switch (row.action) {
    case Action::none:
        return nullptr;
    case Action::explainLimit:
        return row.why;
    case Action::request:
        return row.request;
    case Action::openSettings:
        return row.openSettings;
    }
    return nullptr;
}

void PermissionsView::refresh() {
    PermissionCenter& permissions = m_permissions;
    const PermissionStates states = permissions.states();
    for (auto it = m_rows.begin(); it != m_rows.end(); ++it) {
        const PermissionKind kind = it.key();
        Row& row = it.value();
        const auto found = states.constFind(kind);
        const std::optional<PermissionState> state =
            found == states.cend() ? std::nullopt : std::optional<PermissionState>(*found);
        row.state->setText(state ? label(*state) : QStringLiteral("Unknown"));

        if (state == PermissionState::unavailableInAdHoc) {
            row.action = Action::explainLimit;
        } else if (kind == PermissionKind::screenRecording && state != PermissionState::granted) {
            row.action = Action::request;
        } else if (permissions.hasSystemSettings(kind)) {
            row.action = Action::openSettings;
        } else {
            // No page on this desktop to send the user to.
            row.action = Action::none;
        }
        row.limit->setVisible(row.action == Action::explainLimit);
        row.request->setVisible(row.action == Action::request);
        row.openSettings->setVisible(row.action == Action::openSettings);
    }
}

} // namespace plimbo
