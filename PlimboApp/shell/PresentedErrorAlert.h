#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace plimbo {

class GlobalSurfaceFocusCoordinator;
class PresentedError;

// Shows the model's one error message in an alert over the host while the host is shown:
// titled as the surface wants (by default "Plimbo needs attention"), the message (or "Unknown
// error" when it is empty) as its text, one "OK" button. Dismissing the alert in any way clears
// the message; a message cleared anywhere else closes the alert, a replaced one shows in it.
// Every surface of one model has one of these, and only one shows the message: the one on the
// active window, else the one whose window was last activated or shown (the surface in use or
// the frontmost one). When the alert closes, the focus goes back to the application that was
// in front before it (GlobalSurfaceFocusCoordinator).
class PresentedErrorAlert : public QObject {
    Q_OBJECT

public:
    static inline const QString defaultTitle = QStringLiteral("Plimbo needs attention");

    PresentedErrorAlert(PresentedError& error, GlobalSurfaceFocusCoordinator& focus, QWidget& host,
                        const QString& title = defaultTitle);
    ~PresentedErrorAlert() override;

    // Whether the alert is up now.
    bool isPresented() const { return !m_box.isNull(); }
    // The alert while it is up, else null.
    QMessageBox* messageBox() const { return m_box; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Every alert of the model decides again who shows the message.
    void syncAll();
    void sync();
    // The one alert of the model whose host shows the message now; null when no host is shown.
    PresentedErrorAlert* chosen() const;
    void noteUse();
    void present(const QString& message);
    void close();

    PresentedError& m_error;
    GlobalSurfaceFocusCoordinator& m_focus;
    QPointer<QWidget> m_host;
    QString m_title;
    QPointer<QMessageBox> m_box;
    bool m_closing = false;
    // When the host's window was last activated or shown, on one clock for all alerts.
    quint64 m_lastUse = 0;
};

} // namespace plimbo
