#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QMessageBox;
class QWidget;

namespace plimbo {

class AppModel;

// Presents the model's one error message as an alert over a view while that view is on
// screen: titled as the surface wants, the message (or "Unknown error" when it is empty) and
// "OK". Closing the alert in any way clears the message; when the model clears or replaces the
// message itself, the alert closes or shows the new text.
class ChatErrorAlert : public QObject {
    Q_OBJECT

public:
    ChatErrorAlert(AppModel& model, const QString& title, QWidget* host);

    // The alert while it is shown; null otherwise.
    QMessageBox* alert() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sync();
    void alertClosed();

    AppModel& m_model;
    QString m_title;
    QWidget* m_host;
    QPointer<QMessageBox> m_alert;
    bool m_closingFromModel = false;
};

} // namespace plimbo
