#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <QMessageBox>
class QWidget;

namespace plimbo {

class AppModel;

// Shows the model's one error message in an alert over the host's window while that window is
// shown: titled "Plimbo needs attention", the message as its text, one "OK" button. Dismissing
// the alert in any way clears the message; a message cleared anywhere else closes the alert.
class PresentedErrorAlert : public QObject {
    Q_OBJECT

public:
    PresentedErrorAlert(AppModel& model, QWidget& host);
    ~PresentedErrorAlert() override;

    // Whether the alert is up now.
    bool isPresented() const { return !m_box.isNull(); }
    // The alert while it is up, else null.
    QMessageBox* messageBox() const { return m_box; }

    static inline const QString title = QStringLiteral("Plimbo needs attention");

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sync();
    void present(const QString& message);
    void close();

    AppModel& m_model;
    QPointer<QWidget> m_host;
    QPointer<QMessageBox> m_box;
    bool m_closing = false;
};

} // namespace plimbo
