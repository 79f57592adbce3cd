#include "WindowFrameAutosave.h"

#include "SettingsStore.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QWidget>

#include <algorithm>
#include <limits>

namespace plimbo {

WindowFrameAutosave::WindowFrameAutosave(QWidget& window, std::shared_ptr<SettingsStore> settings,
                                         QString name)
    : QObject(&window)
    , m_window(&window)
    , m_settings(std::move(settings))
    , m_name(std::move(name)) {
    window.installEventFilter(this);
}

QString WindowFrameAutosave::format(const QRect& frame) {
    return QStringLiteral("%1 %2 %3 %4")
        .arg(frame.x())
        .arg(frame.y())
        .arg(frame.width())
        .arg(frame.height());
}

std::optional<QRect> WindowFrameAutosave::parse(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != 4) {
        return std::nullopt;
    }
    int values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts[i].toInt(&ok);
        if (!ok) {
            return std::nullopt;
        }
    }
    const auto fits = [](int origin, int length) {
        return length > 0 && qint64(origin) + length <= std::numeric_limits<int>::max();
    };
    if (!fits(values[0], values[2]) || !fits(values[1], values[3])) {
        return std::nullopt;
    }
    return QRect(values[0], values[1], values[2], values[3]);
}

QRect WindowFrameAutosave::fitted(const QRect& frame, const QList<QRect>& screens) {
    if (screens.isEmpty()) {
        return frame;
    }
    QRect screen = screens.first();
    qint64 mostShared = 0;
    for (const QRect& candidate : screens) {
        const QRect shared = frame.intersected(candidate);
        const qint64 area = shared.isEmpty() ? 0 : qint64(shared.width()) * shared.height();
        if (area > mostShared) {
            mostShared = area;
            screen = candidate;
        }
    }
    const QSize size = frame.size().boundedTo(screen.size());
    const int x =
        std::clamp(frame.x(), screen.left(), screen.left() + screen.width() - size.width());
    const int y =
        std::clamp(frame.y(), screen.top(), screen.top() + screen.height() - size.height());
    return QRect(QPoint(x, y), size);
}

bool WindowFrameAutosave::restore() {
    if (!m_window || !m_settings) {
        return false;
    }
    const QVariant stored = m_settings->value(m_name);
    if (stored.typeId() != QMetaType::QString) {
        return false;
    }
    const std::optional<QRect> frame = parse(stored.toString());
    if (!frame) {
        return false;
    }
    // The primary screen comes first, so a frame off every screen lands on it.
    QList<QRect> screens;
    for (QScreen* screen : QGuiApplication::screens()) {
        screens.append(screen->availableGeometry());
    }
    const QRect onScreen = fitted(*frame, screens);
    m_restoring = true;
    m_window->setGeometry(QRect(
        onScreen.topLeft(),
        onScreen.size().expandedTo(m_window->minimumSize()).boundedTo(m_window->maximumSize())));
    m_restoring = false;
    return true;
}

void WindowFrameAutosave::save() {
    if (m_window && m_settings) {
        m_settings->setValue(m_name, format(m_window->geometry()));
    }
}

bool WindowFrameAutosave::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && !m_restoring &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
        m_window->isVisible() &&
        !(m_window->windowState() &
          (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))) {
        save();
    }
    return false;
}

} // namespace plimbo
