#include "QtScreenLayout.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace plimbo {

QtScreenLayout::QtScreenLayout(QObject* parent)
    : ScreenLayout(parent) {
    if (!qGuiApp) {
        return;
    }
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        watch(screen);
        emit changed();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &ScreenLayout::changed);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &ScreenLayout::changed);
    for (QScreen* screen : QGuiApplication::screens()) {
        watch(screen);
    }
}

QList<DisplayScreen> QtScreenLayout::screens() const {
    QList<DisplayScreen> result;
    if (!qGuiApp) {
        return result;
    }
    for (const QScreen* screen : QGuiApplication::screens()) {
        DisplayScreen display;
        display.frame = screen->geometry();
        display.localizedName = nameOf(*screen);
        result.append(display);
    }
    return result;
}

std::optional<qsizetype> QtScreenLayout::mainScreenIndex() const {
    if (!qGuiApp) {
        return std::nullopt;
    }
    const qsizetype index = QGuiApplication::screens().indexOf(QGuiApplication::primaryScreen());
    if (index < 0) {
        return std::nullopt;
    }
    return index;
}

QPoint QtScreenLayout::cursorPosition() const {
    return QCursor::pos();
}

QString QtScreenLayout::nameOf(const QScreen& screen) {
    const QString model = screen.model().trimmed();
    if (!model.isEmpty()) {
        return model;
    }
    const QString name = screen.name().trimmed();
    return name.isEmpty() ? QStringLiteral("Display") : name;
}

void QtScreenLayout::watch(QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, this, &ScreenLayout::changed);
}

} // namespace plimbo
