#include "RunningPlimbo.h"

#include "XDoTool.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcessEnvironment>
#include <QTest>

#ifndef PLIMBO_TESTABLE_PATH
#error "PLIMBO_TESTABLE_PATH names the test build of the program"
#endif

namespace plimbo::test {

namespace {

const QString paletteWindowName = QStringLiteral("Plimbo Command Palette");
const QString miniAIWindowName = QStringLiteral("Plimbo AI");
const QString notchWindowName = QStringLiteral("Plimbo Notch");

bool focusMovesTo(const QString& name, int timeoutMs) {
    return QTest::qWaitFor([&] { return XDoTool::focusedWindowName() == name; }, timeoutMs);
}

std::optional<QJsonObject> findTurn(const QJsonValue& value, const QString& prompt) {
    if (value.isArray()) {
        for (const QJsonValue& element : value.toArray()) {
            if (auto found = findTurn(element, prompt)) {
                return found;
            }
        }
    } else if (value.isObject()) {
        const QJsonObject object = value.toObject();
        if (object.value(QStringLiteral("prompt")) == prompt &&
            object.contains(QStringLiteral("response"))) {
            return object;
        }
        for (const QJsonValue& member : object) {
            if (auto found = findTurn(member, prompt)) {
                return found;
            }
        }
    }
    return std::nullopt;
}

} // namespace

RunningPlimbo::RunningPlimbo(const QUrl& baseUrl)
    : m_baseUrl(baseUrl) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QDir root(m_home.path());
    for (const char* folder : {"home", "config", "data", "cache", "runtime"}) {
        root.mkpath(QString::fromLatin1(folder));
    }
    QFile::setPermissions(root.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    environment.insert(QStringLiteral("HOME"), root.filePath(QStringLiteral("home")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), root.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), root.filePath(QStringLiteral("cache")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), root.filePath(QStringLiteral("runtime")));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    for (const char* proxy : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) {
        environment.remove(QString::fromLatin1(proxy));
    }
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
}

RunningPlimbo::~RunningPlimbo() {
    stop();
}

void RunningPlimbo::useSessionBus(const QString& address) {
    QProcessEnvironment environment = m_process.processEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
    m_process.setProcessEnvironment(environment);
}

bool RunningPlimbo::start(const QStringList& switches) {
    m_process.start(QStringLiteral(PLIMBO_TESTABLE_PATH),
                    QStringList{QStringLiteral("--openrouter-base-url=") + m_baseUrl.toString()} +
                        switches);
    if (!m_process.waitForStarted(10000)) {
        return false;
    }
    // Start-up ends by showing the notch.
    const auto notchShown = [] {
        return !XDoTool::visibleWindowIds(notchWindowName).isEmpty();
    };
    (void)QTest::qWaitFor([&] { return !isRunning() || notchShown(); }, 10000);
    return isRunning() && notchShown();
}

bool RunningPlimbo::startAndOpenPalette() {
    return start() && openPalette();
}

bool RunningPlimbo::openPalette() {
    // The shortcut works once start-up has registered it; until then the key goes nowhere.
    for (int attempt = 0; attempt < 20 && isRunning(); ++attempt) {
        XDoTool::key(QStringLiteral("super+alt+space"));
        if (focusMovesTo(paletteWindowName, 1000)) {
            return true;
        }
    }
    return false;
}

bool RunningPlimbo::openMiniAIFromPalette() {
    return XDoTool::type(miniAIWindowName) && XDoTool::key(QStringLiteral("Return")) &&
           focusMovesTo(miniAIWindowName, 5000);
}

bool RunningPlimbo::stop() {
    if (m_process.state() == QProcess::NotRunning) {
        return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
    }
    m_process.terminate();
    // Time for a sanitizer build's leak check on the way out.
    if (!m_process.waitForFinished(20000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
        return false;
    }
    return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
}

QString RunningPlimbo::output() {
    return QString::fromUtf8(m_process.readAll());
}

QString RunningPlimbo::historyPath() const {
    return QDir(m_home.path()).filePath(QStringLiteral("data/Plimbo/AIChats.json"));
}

std::optional<QJsonObject> RunningPlimbo::storedTurn(const QString& prompt) const {
    QFile file(historyPath());
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    return findTurn(
        document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object()), prompt);
}

} // namespace plimbo::test
