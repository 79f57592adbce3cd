#include "PresentedErrorAlert.h"

#include "AppModel.h"
#include "OwnedWindows.h"

#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

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

} // namespace

PresentedErrorAlert::PresentedErrorAlert(AppModel& model, QWidget& host, const QString& title)
    : QObject(&host)
    , m_model(model)
    , m_host(&host)
    , m_title(title) {
    connect(&model, &AppModel::presentedErrorChanged, this, &PresentedErrorAlert::sync);
    host.installEventFilter(this);
}

PresentedErrorAlert::~PresentedErrorAlert() {
    // Going away with the window is no dismissal: the message stays for the other surfaces.
    m_closing = true;
    delete m_box.data();
}

bool PresentedErrorAlert::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_host && (event->type() == QEvent::Show || event->type() == QEvent::Hide)) {
        // After the event, so that visibility has its new value.
        QTimer::singleShot(0, this, &PresentedErrorAlert::sync);
    }
    return QObject::eventFilter(watched, event);
}

void PresentedErrorAlert::sync() {
    const std::optional<QString> error = m_model.presentedError();
    if (error && m_host && m_host->isVisible()) {
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
            m_model.setPresentedError(std::nullopt);
            // The window it blocked takes the keyboard again. Window managers give the focus
            // back to the alert's window only where it shows in the task bar, and panels do not.
            if (QWidget* window = m_host ? m_host->window() : nullptr;
                window && window->isVisible()) {
                OwnedWindows::activate(*window);
            }
        }
    });
    m_box = box;
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
