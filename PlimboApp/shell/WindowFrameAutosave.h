#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

#include <memory>
#include <optional>

class QWidget;

namespace plimbo {

class SettingsStore;

// Keeps a window's frame in the user's defaults under a name ("PlimboDashboard"): restores it
// when created and saves it whenever the shown window moves or changes size. The frame is
// stored as "x y width height" in global coordinates (the window's content, without the
// window manager's frame).
class WindowFrameAutosave : public QObject {
    Q_OBJECT

public:
    WindowFrameAutosave(QWidget& window, std::shared_ptr<SettingsStore> settings, QString name);

    QString name() const { return m_name; }
    // Applies the saved frame, when there is a readable one, as far as it fits a screen (see
    // fitted()); its size never goes below the window's minimum. Returns whether a frame was
    // applied.
    bool restore();
    void save();

    static QString format(const QRect& frame);
    // None for anything but four integers with a positive width and height whose far edges
    // are integers too.
    static std::optional<QRect> parse(const QString& text);
    // The frame moved and shrunk onto the screen it overlaps most (the first screen when it
    // overlaps none): a frame saved on a screen that is gone, or written by hand, must not open
    // the window where nobody sees it.
    static QRect fitted(const QRect& frame, const QList<QRect>& screens);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_window;
    std::shared_ptr<SettingsStore> m_settings;
    QString m_name;
    bool m_restoring = false;
};

} // namespace plimbo
