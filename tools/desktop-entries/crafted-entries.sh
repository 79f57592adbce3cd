#!/usr/bin/env bash
# Writes odd desktop entries into DIR/applications for launcher_glib_comparison:
#   XDG_DATA_DIRS=DIR:/usr/share build/tools/launcher_glib_comparison
# With --rootlink it also adds a folder link to / (GLib follows it; the launcher does not).
set -euo pipefail
dir=${1:?usage: crafted-entries.sh DIR [--rootlink]}
apps=$dir/applications
mkdir -p "$apps/sub" "$dir/bin" "$dir/elsewhere"
entry() { # file, then the lines after [Desktop Entry]
    local file=$1
    shift
    printf '[Desktop Entry]\n' >"$apps/$file"
    printf '%s\n' "$@" >>"$apps/$file"
}
printf '#!/bin/sh\n' >"$dir/bin/tool"
chmod +x "$dir/bin/tool"
printf '#!/bin/sh\n' >"$dir/bin/plain"

entry plain.desktop Type=Application Name=Plain Exec=true
entry only-xfce.desktop Type=Application Name=Only-XFCE Exec=true "OnlyShowIn=XFCE;"
entry only-xfce-no-semicolon.desktop Type=Application Name=Only-XFCE-2 Exec=true "OnlyShowIn=XFCE"
entry only-lxqt.desktop Type=Application Name=Only-LXQt Exec=true "OnlyShowIn=LXQt;"
entry only-lowercase.desktop Type=Application Name=Only-lower Exec=true "OnlyShowIn=xfce;"
entry not-xfce.desktop Type=Application Name=Not-XFCE Exec=true "NotShowIn=XFCE;GNOME;"
entry both.desktop Type=Application Name=Both Exec=true "OnlyShowIn=GNOME;" "NotShowIn=XFCE;"
entry only-empty.desktop Type=Application Name=Only-empty Exec=true "OnlyShowIn="
entry exec-missing.desktop Type=Application Name=Exec-missing "Exec=/nonexistent/sbin/gparted %f"
entry exec-not-on-path.desktop Type=Application Name=Not-on-path "Exec=plimbo-nowhere --x"
entry exec-not-executable.desktop Type=Application Name=Not-executable "Exec=$dir/bin/plain"
entry exec-folder.desktop Type=Application Name=Exec-folder "Exec=$dir/bin"
entry exec-quoted.desktop Type=Application Name=Quoted "Exec=\"$dir/bin/tool\" --flag %U"
entry exec-relative.desktop Type=Application Name=Relative "Path=$dir/bin" "Exec=./tool"
entry exec-env.desktop Type=Application Name=Env "Exec=env FOO=1 true"
entry exec-field-code.desktop Type=Application Name=Field "Exec=%U"
entry exec-open-quote.desktop Type=Application Name=Open-quote "Exec=true \"open"
entry no-exec.desktop Type=Application Name=No-exec
entry dbus-no-exec.desktop Type=Application Name=DBus-no-exec DBusActivatable=true
entry no-name.desktop Type=Application Exec=true
entry tryexec-present.desktop Type=Application Name=TryExec-present Exec=true TryExec=sh
entry tryexec-missing.desktop Type=Application Name=TryExec-missing Exec=true TryExec=plimbo-nowhere
entry tryexec-relative.desktop Type=Application Name=TryExec-relative Exec=true "Path=$dir/bin" "TryExec=./tool"
entry hidden.desktop Type=Application Name=Hidden Exec=true Hidden=true
entry nodisplay.desktop Type=Application Name=NoDisplay Exec=true NoDisplay=true
entry nodisplay-capital.desktop Type=Application Name=NoDisplay-True Exec=true NoDisplay=True
entry link.desktop Type=Link Name=Link URL=https://example.org
entry no-type.desktop Name=No-type Exec=true
entry localised.desktop Type=Application Name=Calculator "Name[fr]=Calculatrice" "Name[de]=Taschenrechner" "Name[de_DE]=Rechner" Exec=true
entry sub/inner.desktop Type=Application Name=Inner Exec=true
printf '# comment first\n[Other Group]\nA=b\n[Desktop Entry]\nType=Application\nName=Second-group\nExec=true\n' >"$apps/second-group.desktop"
printf '[Desktop Entry]\nType=Application\nName=Bad\xff\nExec=true\n' >"$apps/bad-utf8.desktop"
ln -sfn sub "$apps/sub-link"
ln -sfn ../elsewhere "$apps/outside-link"
printf '[Desktop Entry]\nType=Application\nName=Outside\nExec=true\n' >"$dir/elsewhere/outside.desktop"
if [ "${2:-}" = --rootlink ]; then
    ln -sfn / "$apps/rootlink"
fi
