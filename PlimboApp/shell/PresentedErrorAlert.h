#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace plimbo {

class AppModel;

// Shows the model's one error message in an alert over the host while the host is shown:
// titled as the surface wants (by default "Plimbo needs attention"), the message (or "Unknown
// error" when it is empty) as its text, one "OK" button. Dismissing the alert in any way clears
// the message; a message cleared anywhere else closes the alert, a replaced one shows in it.
class PresentedErrorAlert : public QObject {
    Q_OBJECT

public:
    static inline const QString defaultTitle = QStringLiteral("Plimbo needs attention");

    PresentedErrorAlert(AppModel& model, QWidget& host, const QString& title = defaultTitle);
    ~PresentedErrorAlert() override;

    // Whether the alert is up now.
    bool isPresented() const { return !m_box.isNull(); }
    // The alert while it is up, else null.
    QMessageBox* messageBox() const { return m_box; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sync();
    void present(const QString& message);
    void close();

    AppModel& m_model;
    QPointer<QWidget> m_host;
    QString m_title;
    QPointer<QMessageBox> m_box;
    bool m_closing = false;
};

} // namespace plimbo
