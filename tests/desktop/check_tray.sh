#!/usr/bin/env bash
# Starts fennick under Xvfb with a window manager (openbox) and a tray
# (trayer): its window must carry an icon (_NET_WM_ICON) and the tray icon
# must be drawn, not an empty square. Exit status 77 without the X tools.
#   check_tray.sh FENNICK_BINARY
set -euo pipefail
for tool in Xvfb xdpyinfo openbox trayer xdotool xprop import; do
    command -v $tool >/dev/null || { echo "SKIPPED: $tool missing"; exit 77; }
done
scratch=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait; rm -rf "$scratch"' EXIT
# Xvfb picks a free display and writes its number to fd 3.
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$scratch/display" >/dev/null 2>&1 &
for _ in $(seq 50); do [ -s "$scratch/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$scratch/display")"
# Under load the server may take a moment more before it takes clients.
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
# A tray started before the window manager has taken the screen may give up
# at once; wait for the manager, then start the tray again if it went.
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
start_tray() {
    trayer --edge bottom --align right --widthtype pixel --width 64 --heighttype pixel \
        --height 24 --transparent false --tint 0xffffff --SetDockType true \
        >>"$scratch/trayer.log" 2>&1 &
    tray_pid=$!
}
start_tray
panel=
for _ in $(seq 200); do
    panel=$(xdotool search --classname '^panel$' 2>/dev/null | head -n 1) && [ -n "$panel" ] && break
    kill -0 "$tray_pid" 2>/dev/null || start_tray
    sleep 0.1
done
[ -n "$panel" ] || { echo "FAIL: trayer did not start"; cat "$scratch/trayer.log"; exit 1; }
mkdir -m 0700 "$scratch/home" "$scratch/run"
# Under the sanitizers: libxkbcommon-x11 hands strndup() names that are not
# NUL-terminated, which strict string checks report inside that library.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}${ASAN_OPTIONS:+:}strict_string_checks=0"
HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/run" XDG_CONFIG_HOME="$scratch/home/.config" \
    "$1" >"$scratch/log" 2>&1 &
# The tray's area is one flat colour until an icon is drawn in it.
colours=0
for _ in $(seq 100); do
    colours=$(import -window "$panel" png:- 2>/dev/null | identify -format '%k' - 2>/dev/null || echo 0)
    ((colours > 8)) && break
    sleep 0.1
done
((colours > 8)) || { echo "FAIL: tray icon not drawn ($colours colours)"; cat "$scratch/log"; exit 1; }
# The tray can be drawn before the check-in window is mapped.
for _ in $(seq 100); do
    for window in $(xdotool search --classname '^fennick$' 2>/dev/null); do
        xprop -id "$window" _NET_WM_ICON | grep -q 'Icon (' && exit 0
    done
    sleep 0.1
done
echo "FAIL: no fennick window carries _NET_WM_ICON"
exit 1
