#!/usr/bin/env bash
# The terminal starts on QtCore alone: the program links no widget, GUI,
# print or X11 library and a report, the status and a punch map none. The
# window does map them, through the window module; without the module the
# program says so in one line and exits 1.
#   check_terminal_libs.sh FENNICK
set -u
fennick=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -m 0700 "$home/run"
export HOME=$home XDG_RUNTIME_DIR=$home/run XDG_CONFIG_HOME=$home/.config LANG=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
heavy='lib(Qt6(Widgets|Gui|PrintSupport|Network|DBus|XcbQpa)|X11|xcb|GL|EGL|xkbcommon|fontconfig)[-.]'
status=0

# The libraries one run of fennick maps, one a line.
mapped() {
    rm -f "$home"/libs.*
    LD_DEBUG=files LD_DEBUG_OUTPUT=$home/libs "$@" >/dev/null 2>"$home/err"
    local code=$?
    sed -n 's/.*file=\([^ ]*\) .*generating link map.*/\1/p' "$home"/libs.* | sort -u
    return $code
}

linked=$(ldd "$fennick" | awk '{print $1}' | grep -E "$heavy")
[ -z "$linked" ] || { echo "fennick links" $linked; status=1; }
for command in "report monthly" "status" "in"; do
    # shellcheck disable=SC2086
    libs=$(mapped "$fennick" $command) || { echo "fennick $command: $(cat "$home/err")"; status=1; }
    heavy_libs=$(grep -E "$heavy" <<<"$libs")
    [ -z "$heavy_libs" ] || { echo "fennick $command maps" $heavy_libs; status=1; }
done

# The window maps them: the check above sees a library that is loaded.
libs=$(QT_QPA_PLATFORM=offscreen FENNICK_BENCH_QUIT_WHEN_SHOWN=1 mapped timeout 60 "$fennick") ||
    { echo "the window did not start: $(cat "$home/err")"; status=1; }
grep -q 'libQt6Widgets' <<<"$libs" || { echo "the window maps no libQt6Widgets"; status=1; }

mkdir "$home/bin"
cp "$fennick" "$home/bin/fennick"
QT_QPA_PLATFORM=offscreen timeout 60 "$home/bin/fennick" 2>"$home/err"
code=$?
if [ "$code" != 1 ] || [ "$(wc -l <"$home/err")" != 1 ] || ! grep -q "window module" "$home/err"; then
    echo "without its window module: exit $code, stderr: $(cat "$home/err")"
    status=1
fi
exit $status
