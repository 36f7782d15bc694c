#!/usr/bin/env bash
# Validates the .desktop and AppStream files, installs the build into a
# scratch prefix and checks that desktops would find the program there.
# Exit status 77 without the validators.
#   check_desktop_files.sh SOURCE_DIR BUILD_DIR APP_ID
set -euo pipefail
src=$1 build=$2 id=$3
for tool in desktop-file-validate appstreamcli; do
    command -v $tool >/dev/null || { echo "SKIPPED: $tool missing"; exit 77; }
done
desktop="$src/resources/$id.desktop"
desktop-file-validate "$desktop"
appstreamcli validate --no-net --strict --pedantic "$src/resources/$id.metainfo.xml"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cmake --install "$build" --prefix "$root" >/dev/null

fail() { echo "$*"; status=1; }
status=0
# The main entry's Exec comes first; the actions' follow in their groups.
exe=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop" | head -n 1)
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -x "$root/bin/$exe" ] || fail "not installed: bin/$exe"
for file in "applications/$id.desktop" "metainfo/$id.metainfo.xml" man/man1/fennick.1.gz \
    "icons/hicolor/scalable/apps/$icon.svg" bash-completion/completions/fennick \
    "icons/hicolor/"{32x32,64x64,128x128,256x256}"/apps/$icon.png"; do
    [ -f "$root/share/$file" ] || fail "not installed: share/$file"
done
# X11 desktops match a window to its entry by WM_CLASS, Qt's program name.
grep -qx "StartupWMClass=$exe" "$desktop" || fail "StartupWMClass is not $exe"
# A launcher's Check In and Check Out run the terminal's punches.
actions=$(sed -n 's/^Exec=//p' "$desktop" | tail -n +2 | tr '\n' ';')
[ "$actions" = "$exe in;$exe out;" ] || fail "desktop actions run '$actions'"
appstreamcli validate-tree --no-net --strict "$root" || status=1
exit $status
