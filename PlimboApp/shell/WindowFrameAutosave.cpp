#include "WindowFrameAutosave.h"

#include "SettingsStore.h"

#include <QEvent>
#include <QStringList>
#include <QWidget>

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
    if (values[2] <= 0 || values[3] <= 0) {
        return std::nullopt;
    }
    return QRect(values[0], values[1], values[2], values[3]);
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
    m_restoring = true;
    m_window->setGeometry(QRect(
        frame->topLeft(),
        frame->size().expandedTo(m_window->minimumSize()).boundedTo(m_window->maximumSize())));
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
