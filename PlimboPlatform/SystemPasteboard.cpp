#include "SystemPasteboard.h"

#include "WaylandClipboardTypes.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace plimbo {

SystemPasteboard::SystemPasteboard(QObject* parent)
    : QObject(parent)
    , m_ownContentType(WaylandClipboardTypes::newOwnContentType()) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        // dataChanged is the clipboard mode only; the primary selection has its own signal.
        connect(clipboard, &QClipboard::dataChanged, this, &SystemPasteboard::onDataChanged);
    }
}

void SystemPasteboard::startWaylandReader() const {
    if (!m_triedWaylandReader) {
        m_triedWaylandReader = true;
        if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
            m_waylandReader = WaylandClipboardReader::start(m_ownContentType);
        }
    }
}

bool SystemPasteboard::readsThroughWayland() const {
    return m_waylandReader && m_waylandReader->state() == WaylandClipboardReader::State::ready;
}

qint64 SystemPasteboard::changeCount() const {
    startWaylandReader();
    // The reader counts only while it is ready; Qt's notices are counted only while it is not.
    return m_changeCount + (m_waylandReader ? m_waylandReader->changeCount() : 0);
}

void SystemPasteboard::onDataChanged() {
    if (readsThroughWayland()) {
        // The compositor tells the reader of every change, these notices included.
        return;
    }
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (m_written && clipboard->ownsClipboard() &&
        clipboard->mimeData(QClipboard::Clipboard) == m_written.data()) {
        // Our own content is still there: nothing changed.
        return;
    }
    m_written.clear();
    ++m_changeCount;
}

void SystemPasteboard::setContent(QMimeData* data) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) {
        delete data;
        return;
    }
    data->setData(m_ownContentType, QByteArrayLiteral("1"));
    const qint64 before = m_changeCount;
    m_written = data;
    clipboard->setMimeData(data, QClipboard::Clipboard);
    if (m_changeCount == before) {
        ++m_changeCount;
    }
}

QFuture<PasteboardText> SystemPasteboard::readText(qsizetype maximumBytes) {
    startWaylandReader();
    if (readsThroughWayland()) {
        return m_waylandReader->read(maximumBytes);
    }
    const QClipboard* clipboard = QGuiApplication::clipboard();
    // Our own content is in this process already: there is nothing to transfer.
    if (clipboard && !clipboard->ownsClipboard() &&
        QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (!m_triedSelectionReader) {
            m_triedSelectionReader = true;
            m_selectionReader = X11SelectionReader::connect();
        }
        if (m_selectionReader) {
            return m_selectionReader->read(maximumBytes);
        }
    }
    return QtFuture::makeReadyFuture(readThroughQt(maximumBytes));
}

PasteboardText SystemPasteboard::readThroughQt(qsizetype maximumBytes) {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData(QClipboard::Clipboard) : nullptr;
    if (!data) {
        return {PasteboardText::Status::noText, {}};
    }
    const QString hint = QString::fromLatin1(passwordManagerHintFormat);
    if (data->hasFormat(hint) && data->data(hint).trimmed() == "secret") {
        return {PasteboardText::Status::concealed, {}};
    }
    if (!data->hasText()) {
        return {PasteboardText::Status::noText, {}};
    }
    QString text = data->text();
    // UTF-8 takes at least one byte and at most three per UTF-16 unit.
    if (text.size() > maximumBytes ||
        (text.size() * 3 > maximumBytes && text.toUtf8().size() > maximumBytes)) {
        return {PasteboardText::Status::tooLarge, {}};
    }
    return {PasteboardText::Status::text, std::move(text)};
}

void SystemPasteboard::writeText(const QString& text) {
    auto* data = new QMimeData;
    data->setText(text);
    setContent(data);
}

void SystemPasteboard::writeFileUrls(const QList<QUrl>& urls) {
    auto* data = new QMimeData;
    data->setUrls(urls);
    // GNOME's file managers paste files only from their own format.
    QByteArray gnomeFiles = "copy";
    for (const QUrl& url : urls) {
        gnomeFiles += '\n' + url.toEncoded();
    }
    data->setData(QStringLiteral("x-special/gnome-copied-files"), gnomeFiles);
    setContent(data);
}

} // namespace plimbo
