#include "XDoTool.h"

#include <QProcess>
#include <QRegularExpression>

namespace plimbo::test {

bool XDoTool::run(const QStringList& arguments, QString* output) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    // xdotool never waits on this process, so a blocking wait cannot deadlock.
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    if (output) {
        *output = QString::fromUtf8(process.readAllStandardOutput());
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool XDoTool::type(const QString& text) {
    return run({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("15"), text});
}

bool XDoTool::click(const QPoint& screenPoint) {
    return run({QStringLiteral("mousemove"), QString::number(screenPoint.x()),
                QString::number(screenPoint.y()), QStringLiteral("click"), QStringLiteral("1")});
}

std::optional<QString> XDoTool::focusedWindowName() {
    QString output;
    if (!run({QStringLiteral("getwindowfocus"), QStringLiteral("getwindowname")}, &output)) {
        return std::nullopt;
    }
    return output.trimmed();
}

namespace {

QHash<QString, QString> shellValues(const QString& shell) {
    QHash<QString, QString> values;
    for (const QString& line : shell.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList pair = line.split(QLatin1Char('='));
        if (pair.size() == 2) {
            values.insert(pair[0], pair[1]);
        }
    }
    return values;
}

} // namespace

QList<quint64> XDoTool::visibleWindowIds(const QString& name) {
    QString ids;
    const QString pattern = QLatin1Char('^') + QRegularExpression::escape(name) + QLatin1Char('$');
    // Exit status 1 only means that no window matched.
    run({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
         pattern},
        &ids);
    QList<quint64> windows;
    for (const QString& id : ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        windows.append(id.toULongLong());
    }
    return windows;
}

QList<QRect> XDoTool::visibleWindows(const QString& name) {
    QList<QRect> frames;
    for (const quint64 window : visibleWindowIds(name)) {
        QString shell;
        if (!run({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"),
                  QString::number(window)},
                 &shell)) {
            continue;
        }
        const QHash<QString, QString> values = shellValues(shell);
        frames.append(QRect(values.value(QStringLiteral("X")).toInt(),
                            values.value(QStringLiteral("Y")).toInt(),
                            values.value(QStringLiteral("WIDTH")).toInt(),
                            values.value(QStringLiteral("HEIGHT")).toInt()));
    }
    return frames;
}

} // namespace plimbo::test
