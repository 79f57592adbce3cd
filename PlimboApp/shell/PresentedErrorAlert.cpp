#include "PresentedErrorAlert.h"

#include "GlobalSurfaceFocusCoordinator.h"
#include "OwnedWindows.h"
#include "PresentedError.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace plimbo {

namespace {

// Messages can carry a server's words: they are shown as typed, never as markup or links.
void setMessage(QMessageBox& box, const QString& message) {
    box.setInformativeText(message);
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
        label->setTextFormat(Qt::PlainText);
        label->setOpenExternalLinks(false);
    }
}

// The alerts of every model, in the order they were made.
QList<PresentedErrorAlert*>& allAlerts() {
    static QList<PresentedErrorAlert*> alerts;
    return alerts;
}

// Milliseconds for a closed alert's focus changes to reach the window manager and come back.
constexpr int closingSettleDelay = 120;

quint64 nextUse() {
    static quint64 clock = 0;
    return ++clock;
}

} // namespace

PresentedErrorAlert::PresentedErrorAlert(PresentedError& error,
                                         GlobalSurfaceFocusCoordinator& focus, QWidget& host,
                                         const QString& title)
    : QObject(&host)
    , m_error(error)
    , m_focus(focus)
    , m_host(&host)
    , m_title(title) {
    allAlerts().append(this);
    connect(&error, &PresentedError::messageChanged, this, &PresentedErrorAlert::sync);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this] {
        if (m_host && m_host->isActiveWindow()) {
            noteUse();
        }
    });
    host.installEventFilter(this);
}

PresentedErrorAlert::~PresentedErrorAlert() {
    allAlerts().removeAll(this);
    // Going away with the window is no dismissal: the message stays for the other surfaces.
    m_closing = true;
    if (m_box) {
        delete m_box.data();
        m_focus.alertClosed();
    }
}

bool PresentedErrorAlert::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_host && (event->type() == QEvent::Show || event->type() == QEvent::Hide)) {
        if (event->type() == QEvent::Show) {
            noteUse();
        }
        // After the event, so that visibility has its new value.
        QTimer::singleShot(0, this, &PresentedErrorAlert::syncAll);
    }
    return QObject::eventFilter(watched, event);
}

void PresentedErrorAlert::noteUse() {
    m_lastUse = nextUse();
}

PresentedErrorAlert* PresentedErrorAlert::chosen() const {
    PresentedErrorAlert* best = nullptr;
    for (PresentedErrorAlert* alert : std::as_const(allAlerts())) {
        if (&alert->m_error != &m_error || !alert->m_host || !alert->m_host->isVisible()) {
            continue;
        }
        // The one already showing keeps the message while its host stays up.
        if (alert->m_box) {
            return alert;
        }
        if (alert->m_host->isActiveWindow()) {
            best = alert;
            break;
        }
        if (!best || alert->m_lastUse > best->m_lastUse) {
            best = alert;
        }
    }
    return best;
}

void PresentedErrorAlert::syncAll() {
    // Closing first, so that a message moving to another surface is never shown twice.
    const QList<PresentedErrorAlert*> alerts = allAlerts();
    for (PresentedErrorAlert* alert : alerts) {
        if (&alert->m_error == &m_error && alert->chosen() != alert) {
            alert->close();
        }
    }
    for (PresentedErrorAlert* alert : alerts) {
        if (&alert->m_error == &m_error) {
            alert->sync();
        }
    }
}

void PresentedErrorAlert::sync() {
    const std::optional<QString> error = m_error.message();
    if (error && chosen() == this) {
        present(error->isEmpty() ? tr("Unknown error") : *error);
    } else {
        close();
    }
}

void PresentedErrorAlert::present(const QString& message) {
    if (m_box) {
        setMessage(*m_box, message);
        return;
    }
    auto* box = new QMessageBox(m_host);
    box->setWindowModality(Qt::WindowModal);
    box->setIcon(QMessageBox::Warning);
    box->setWindowTitle(m_title);
    box->setText(m_title);
    box->setTextFormat(Qt::PlainText);
    setMessage(*box, message);
    QPushButton* ok = box->addButton(tr("OK"), QMessageBox::RejectRole);
    box->setDefaultButton(ok);
    box->setEscapeButton(ok);
    connect(box, &QDialog::finished, this, [this, box] {
        if (m_box == box) {
            m_box = nullptr;
        }
        box->deleteLater();
        if (!m_closing) {
            m_error.setMessage(std::nullopt);
            // The window it blocked takes the keyboard again. Window managers give the focus
            // back to the alert's window only where it shows in the task bar, and panels do not.
            if (QWidget* window = m_host ? m_host->window() : nullptr;
                window && window->isVisible()) {
                OwnedWindows::activate(*window);
            }
        }
        // After the message is gone, so no surface opens the alert again on the way, and after
        // the window manager has handed the focus on from the closed alert (to its surface),
        // so the hand-back comes last.
        QTimer::singleShot(closingSettleDelay, &m_error,
                           [focus = &m_focus] { focus->alertClosed(); });
    });
    m_box = box;
    m_focus.alertOpened();
    box->open();
}

void PresentedErrorAlert::close() {
    if (!m_box) {
        return;
    }
    m_closing = true;
    QMessageBox* box = m_box;
    m_box = nullptr;
    box->done(QDialog::Rejected);
    m_closing = false;
}

} // namespace plimbo
