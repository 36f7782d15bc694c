#!/usr/bin/env bash
# Starts fennick under Xvfb with a window manager (openbox) and a system tray
# (trayer), then checks that its window carries an icon (_NET_WM_ICON) and
# that the tray icon is drawn, not an empty square.
#   check_tray.sh FENNICK_BINARY
# Exit status 77 (skipped) when the X tools are not installed.
set -euo pipefail
fennick=$1

missing=()
for tool in Xvfb:xvfb openbox:openbox trayer:trayer xdotool:xdotool xprop:x11-utils \
    import:imagemagick; do
    command -v "${tool%%:*}" >/dev/null || missing+=("${tool#*:}")
done
if ((${#missing[@]})); then
    echo "SKIPPED: apt-get install ${missing[*]}"
    exit 77
fi

scratch=$(mktemp -d)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number to fd 3.
exec 3>"$scratch/display"
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 50); do [ -s "$scratch/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$scratch/display")"

openbox >/dev/null 2>&1 &
pids+=($!)
trayer --edge bottom --align right --widthtype pixel --width 64 --heighttype pixel \
    --height 24 --transparent false --tint 0xffffff --SetDockType true >/dev/null 2>&1 &
pids+=($!)
panel=
for _ in $(seq 50); do
    panel=$(xdotool search --classname '^panel$' 2>/dev/null | head -n 1) && [ -n "$panel" ] && break
    sleep 0.1
done
[ -n "$panel" ] || { echo "FAIL: trayer did not start"; exit 1; }

mkdir -m 0700 "$scratch/home" "$scratch/run"
# Under the sanitizers: libxkbcommon-x11 hands strndup() names that are not
# NUL-terminated but exactly as long as it says, which strict string checks
# report as an overflow inside that library.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}${ASAN_OPTIONS:+:}strict_string_checks=0"
HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/run" XDG_CONFIG_HOME="$scratch/home/.config" \
    "$fennick" >"$scratch/log" 2>&1 &
pids+=($!)

# The tray's area is one flat colour until an icon is drawn in it.
colours=0
for _ in $(seq 100); do
    colours=$(import -window "$panel" png:- 2>/dev/null | identify -format '%k' - 2>/dev/null || echo 0)
    ((colours > 8)) && break
    sleep 0.1
done
if ((colours <= 8)); then
    echo "FAIL: the tray icon is not drawn ($colours colours in the tray)"
    cat "$scratch/log"
    exit 1
fi

found=
for window in $(xdotool search --classname '^fennick$' 2>/dev/null); do
    xprop -id "$window" _NET_WM_ICON | grep -q 'Icon (' && found=$window
done
[ -n "$found" ] || { echo "FAIL: no fennick window carries _NET_WM_ICON"; exit 1; }
echo "tray icon drawn ($colours colours), window $found has an icon"
