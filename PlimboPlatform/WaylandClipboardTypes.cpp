#include "WaylandClipboardTypes.h"

#include <QCoreApplication>

#include <atomic>

namespace plimbo {

std::optional<QString> WaylandClipboardTypes::textType(const QStringList& offered) {
    static const QStringList preferred{
        QStringLiteral("text/plain;charset=utf-8"),
        QStringLiteral("UTF8_STRING"),
        QStringLiteral("text/plain"),
        QStringLiteral("STRING"),
    };
    for (const QString& type : preferred) {
        if (offered.contains(type)) {
            return type;
        }
    }
    return std::nullopt;
}

bool WaylandClipboardTypes::offersPasswordHint(const QStringList& offered) {
    return offered.contains(QLatin1String(passwordManagerHint));
}

QString WaylandClipboardTypes::newOwnContentType() {
    static std::atomic<quint64> writers{0};
    return QLatin1String(ownContentPrefix) + QString::number(QCoreApplication::applicationPid()) +
           u'-' + QString::number(++writers);
}

bool WaylandClipboardTypes::hintSaysSecret(const QByteArray& hint) {
    return hint.trimmed() == "secret";
}

QString WaylandClipboardTypes::decode(QByteArray bytes, const QString& type) {
    // Some owners end the text with a NUL, as C strings do.
    if (bytes.endsWith('\0')) {
        bytes.chop(1);
    }
    return type == QLatin1String("STRING") ? QString::fromLatin1(bytes) : QString::fromUtf8(bytes);
}

} // namespace plimbo
