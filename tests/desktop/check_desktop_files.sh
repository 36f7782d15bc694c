#!/usr/bin/env bash
# Validates the .desktop and AppStream files, then installs the build into a
# scratch prefix and checks that desktops would find the program there.
#   check_desktop_files.sh SOURCE_DIR BUILD_DIR APP_ID
# Exit status 77 (skipped) when the validators are not installed.
set -euo pipefail
src=$1 build=$2 id=$3

missing=()
command -v desktop-file-validate >/dev/null || missing+=(desktop-file-utils)
command -v appstreamcli >/dev/null || missing+=(appstream)
if ((${#missing[@]})); then
    echo "SKIPPED: validators missing; apt-get install ${missing[*]}"
    exit 77
fi

desktop="$src/resources/$id.desktop"
desktop-file-validate "$desktop"
appstreamcli validate --no-net --strict --pedantic "$src/resources/$id.metainfo.xml"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cmake --install "$build" --prefix "$root" >/dev/null

# The main entry's Exec comes first; the actions' follow in their groups.
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop" | head -n 1)
icon=$(sed -n 's/^Icon=//p' "$desktop")
expected=(
    "bin/$exec_name"
    "share/applications/$id.desktop"
    "share/metainfo/$id.metainfo.xml"
    "share/icons/hicolor/scalable/apps/$icon.svg"
    "share/man/man1/fennick.1.gz"
    "share/bash-completion/completions/fennick"
)
for size in 32 64 128 256; do
    expected+=("share/icons/hicolor/${size}x$size/apps/$icon.png")
done
status=0
# Desktops on X11 match a window to its entry by WM_CLASS, which Qt takes
# from the program's file name.
wm_class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
if [ "$wm_class" != "$exec_name" ]; then
    echo "StartupWMClass=$wm_class is not the program's name $exec_name"
    status=1
fi
for file in "${expected[@]}"; do
    if [ ! -f "$root/$file" ]; then
        echo "not installed: $file"
        status=1
    fi
done
[ -x "$root/bin/$exec_name" ] || { echo "not executable: bin/$exec_name"; status=1; }
# A launcher's Check In and Check Out run the terminal's punches.
actions=$(sed -n 's/^Exec=//p' "$desktop" | tail -n +2 | tr '\n' ';')
if [ "$actions" != "$exec_name in;$exec_name out;" ]; then
    echo "desktop actions run '$actions', not '$exec_name in' and '$exec_name out'"
    status=1
fi

# Checks the installed component against the installed desktop file.
appstreamcli validate-tree --no-net --strict "$root" || status=1
exit $status
