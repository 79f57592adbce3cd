#include "LinuxPermissionBackend.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace plimbo;

namespace {

// Puts a folder of stand-in settings programs first on PATH and names the desktop; both are
// restored afterwards. Each stand-in writes its arguments to <name>.log.
class SettingsPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(bin.isValid());
        savedPath = qgetenv("PATH");
        savedDesktop = qgetenv("XDG_CURRENT_DESKTOP");
        // Only the stand-ins: a settings program installed on this machine must not start.
        qputenv("PATH", bin.path().toLocal8Bit() + ":/usr/bin:/bin");
    }
    void TearDown() override {
        qputenv("PATH", savedPath);
        qputenv("XDG_CURRENT_DESKTOP", savedDesktop);
    }

    void install(const QString& name, const QByteArray& interpreter = "/bin/sh") {
        QFile script(bin.filePath(name));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!" + interpreter + "\necho \"$@\" > \"" + log(name).toLocal8Bit() +
                     ".part\" && mv \"" + log(name).toLocal8Bit() + ".part\" \"" +
                     log(name).toLocal8Bit() + "\"\n");
        script.close();
        script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                              QFileDevice::ExeOwner);
    }
    QString log(const QString& name) const { return bin.filePath(name + ".log"); }
    // The stand-in's arguments once it has run; empty when it has not within two seconds.
    QByteArray argumentsOf(const QString& name) const {
        const QDeadlineTimer deadline(2000);
        while (!deadline.hasExpired()) {
            QFile file(log(name));
            if (file.open(QIODevice::ReadOnly)) {
                return file.readAll().trimmed();
            }
            QThread::msleep(10);
        }
        return {};
    }

    QTemporaryDir bin;
    QByteArray savedPath;
    QByteArray savedDesktop;
    LinuxPermissionBackend backend;
};

} // namespace

TEST_F(SettingsPageTest, StartsTheDesktopsSettingsProgramOnThePage) {
    install(QStringLiteral("gnome-control-center"));
    qputenv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
    EXPECT_TRUE(backend.openSettingsPage(SettingsPage::notifications));
    EXPECT_EQ(argumentsOf(QStringLiteral("gnome-control-center")), "notifications");

    install(QStringLiteral("systemsettings5"));
    qputenv("XDG_CURRENT_DESKTOP", "KDE");
    EXPECT_TRUE(backend.openSettingsPage(SettingsPage::autostart));
    EXPECT_EQ(argumentsOf(QStringLiteral("systemsettings5")), "kcm_autostart");
}

// Each of these is a clear "no": the caller tells the user to open the settings themselves.
TEST_F(SettingsPageTest, ReportsFailureWhenNothingCanShowThePage) {
    install(QStringLiteral("gnome-control-center"));
    // A page the desktop's program does not have.
    qputenv("XDG_CURRENT_DESKTOP", "GNOME");
    EXPECT_FALSE(backend.openSettingsPage(SettingsPage::autostart));
    // A desktop without a known settings program.
    qputenv("XDG_CURRENT_DESKTOP", "XFCE");
    EXPECT_FALSE(backend.openSettingsPage(SettingsPage::sound));
    // The desktop's program is not installed.
    qputenv("XDG_CURRENT_DESKTOP", "KDE");
    EXPECT_FALSE(backend.openSettingsPage(SettingsPage::sound));
    QThread::msleep(100);
    EXPECT_FALSE(QFile::exists(log(QStringLiteral("gnome-control-center"))));
}

TEST_F(SettingsPageTest, AProgramThatCannotStartIsAFailure) {
    // Found on PATH and executable, but its interpreter is missing, so it never runs.
    install(QStringLiteral("gnome-control-center"), "/nonexistent/interpreter");
    qputenv("XDG_CURRENT_DESKTOP", "GNOME");
    EXPECT_FALSE(backend.openSettingsPage(SettingsPage::sound));
}
