// Lists the launcher's applications and GLib's (g_app_info_get_all filtered by
// g_app_info_should_show) for the same environment (XDG_DATA_HOME, XDG_DATA_DIRS,
// XDG_CURRENT_DESKTOP, LANGUAGE/LC_*/LANG, PATH) and prints both sizes and where they differ,
// names included. Exit status 0 when they agree, 1 when not.
#include "XdgApplicationFolders.h"

#include <gio/gio.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMap>
#include <QTextStream>

#include <cstdio>

using namespace plimbo;

namespace {

QMap<QString, QString> glibApplications() {
    QMap<QString, QString> out;
    GList* all = g_app_info_get_all();
    for (GList* item = all; item; item = item->next) {
        auto* info = G_APP_INFO(item->data);
        if (g_app_info_should_show(info)) {
            out.insert(QString::fromUtf8(g_app_info_get_id(info)),
                       QString::fromUtf8(g_app_info_get_name(info)));
        }
    }
    g_list_free_full(all, g_object_unref);
    return out;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);

    QElapsedTimer clock;
    clock.start();
    QMap<QString, QString> plimbo;
    for (const DesktopEntry& entry : XdgApplicationFolders().scan()) {
        plimbo.insert(entry.id, entry.name);
    }
    const qint64 plimboMs = clock.restart();
    const QMap<QString, QString> glib = glibApplications();
    const qint64 glibMs = clock.elapsed();

    out << "XDG_CURRENT_DESKTOP=" << qEnvironmentVariable("XDG_CURRENT_DESKTOP")
        << " LANGUAGE=" << qEnvironmentVariable("LANGUAGE")
        << " LANG=" << qEnvironmentVariable("LANG") << "\n";
    out << "Plimbo lists " << plimbo.size() << " (" << plimboMs << " ms), GLib shows "
        << glib.size() << " (" << glibMs << " ms)\n";
    int differences = 0;
    for (auto it = glib.cbegin(); it != glib.cend(); ++it) {
        if (!plimbo.contains(it.key())) {
            out << "  missing from Plimbo: " << it.key() << " (" << it.value() << ")\n";
            ++differences;
        } else if (plimbo.value(it.key()) != it.value()) {
            out << "  named differently: " << it.key() << ": Plimbo \"" << plimbo.value(it.key())
                << "\", GLib \"" << it.value() << "\"\n";
            ++differences;
        }
    }
    for (auto it = plimbo.cbegin(); it != plimbo.cend(); ++it) {
        if (!glib.contains(it.key())) {
            out << "  listed by Plimbo only: " << it.key() << " (" << it.value() << ")\n";
            ++differences;
        }
    }
    out << differences << " differences\n";
    return differences == 0 ? 0 : 1;
}
