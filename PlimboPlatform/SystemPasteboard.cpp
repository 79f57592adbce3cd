#include "SystemPasteboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace plimbo {

SystemPasteboard::SystemPasteboard(QObject* parent)
    : QObject(parent) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        // dataChanged is the clipboard mode only; the primary selection has its own signal.
        connect(clipboard, &QClipboard::dataChanged, this, &SystemPasteboard::onDataChanged);
    }
}

void SystemPasteboard::onDataChanged() {
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
    const qint64 before = m_changeCount;
    m_written = data;
    clipboard->setMimeData(data, QClipboard::Clipboard);
    if (m_changeCount == before) {
        ++m_changeCount;
    }
}

std::optional<QString> SystemPasteboard::readText() const {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData(QClipboard::Clipboard) : nullptr;
    if (!data || !data->hasText()) {
        return std::nullopt;
    }
    return data->text();
}

bool SystemPasteboard::isConcealed() const {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData(QClipboard::Clipboard) : nullptr;
    if (!data || !data->hasFormat(QString::fromLatin1(passwordManagerHintFormat))) {
        return false;
    }
    return data->data(QString::fromLatin1(passwordManagerHintFormat)).trimmed() == "secret";
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
