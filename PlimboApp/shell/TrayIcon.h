#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class QSystemTrayIcon;
class QWidget;

namespace plimbo {

class KeepAwakeService;

// The status icon in the system tray and the menu panel it opens: a click on the icon shows
// the menu content in a popup next to the pointer; a click elsewhere closes it. The icon's label
// (its tooltip) says when keep-awake holds the display on. Without a system tray the icon
// simply does not show (it appears if a tray starts later); the application stays reachable
// through its shortcuts and a second launch.
class TrayIcon : public QObject {
    Q_OBJECT

public:
    // Builds the menu content around the closure that closes the popup.
    using ContentFactory = std::function<QWidget*(std::function<void()> closeMenu)>;

    TrayIcon(KeepAwakeService& keepAwake, const ContentFactory& makeContent,
             QObject* parent = nullptr);
    ~TrayIcon() override;

    static QString label(bool keepingAwake);
    static inline const QString menuTitle = QStringLiteral("Plimbo Menu");

    QSystemTrayIcon& trayIcon() const { return *m_trayIcon; }
    // The popup holding the menu content; created once.
    QWidget* window() const { return m_window.get(); }

    void showWindow();
    void hideWindow();
    // A click on the icon: opens the popup, or leaves it closed when that same click has just
    // closed it.
    void toggleWindow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateLabel();

    QPointer<KeepAwakeService> m_keepAwake;
    std::unique_ptr<QSystemTrayIcon> m_trayIcon;
    std::unique_ptr<QWidget> m_window;
    QElapsedTimer m_sinceHidden;
};

} // namespace plimbo
