#include "ChatErrorAlert.h"

#include "AppModel.h"

#include <QEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

namespace plimbo {

ChatErrorAlert::ChatErrorAlert(AppModel& model, const QString& title, QWidget* host)
    : QObject(host)
    , m_model(model)
    , m_title(title)
    , m_host(host) {
    connect(&model, &AppModel::presentedErrorChanged, this, &ChatErrorAlert::sync);
    host->installEventFilter(this);
    sync();
}

QMessageBox* ChatErrorAlert::alert() const {
    return m_alert && m_alert->isVisible() ? m_alert.data() : nullptr;
}

bool ChatErrorAlert::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_host && event->type() == QEvent::Show) {
        sync();
    }
    return QObject::eventFilter(watched, event);
}

void ChatErrorAlert::sync() {
    const std::optional<QString> error = m_model.presentedError();
    if (!error) {
        if (m_alert && m_alert->isVisible()) {
            m_closingFromModel = true;
            m_alert->done(QMessageBox::Ok);
            m_closingFromModel = false;
        }
        return;
    }
    if (!m_host->isVisible()) {
        return;
    }
    const QString text = error->isEmpty() ? tr("Unknown error") : *error;
    if (!m_alert) {
        m_alert = new QMessageBox(m_host);
        m_alert->setTextFormat(Qt::PlainText);
        m_alert->setIcon(QMessageBox::Warning);
        m_alert->setWindowTitle(m_title);
        QPushButton* ok = m_alert->addButton(tr("OK"), QMessageBox::RejectRole);
        m_alert->setDefaultButton(ok);
        m_alert->setEscapeButton(ok);
        connect(m_alert, &QDialog::finished, this, &ChatErrorAlert::alertClosed);
    }
    m_alert->setText(m_title);
    m_alert->setInformativeText(text);
    if (!m_alert->isVisible()) {
        m_alert->open();
    }
}

void ChatErrorAlert::alertClosed() {
    if (!m_closingFromModel && m_model.presentedError()) {
        m_model.setPresentedError(std::nullopt);
    }
}

} // namespace plimbo
