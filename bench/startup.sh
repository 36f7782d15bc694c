#!/usr/bin/env bash
# Start-up time and idle cost of the check-in window, under Xvfb.
#   bench/startup.sh [build-dir]     (default build-bench, made by ./dev bench)
# (a) median of 20 alternating runs from exec to the first paint of the check-in window,
#     beside a minimal Qt Widgets program;
# (b) CPU time and wake-ups (context switches) per second over 10 s while the
#     check-in window shows the checked-in state with its indicator running.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
fennick=$build/bin/fennick
minimal=$build/bin/minimal_qt
[ -x "$fennick" ] && [ -x "$minimal" ] || { echo "build $build first (./dev bench)" >&2; exit 1; }
command -v xvfb-run >/dev/null || { echo "needs xvfb-run (apt-get install xvfb xauth)" >&2; exit 1; }

work=$(mktemp -d)
# A desktop's runtime folder (/run/user/UID) is a tmpfs, where the instance
# lock's sync costs nothing; /dev/shm stands in for it when there is one.
run=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$work" "$run"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$run
mkdir -p "$HOME/Library" "$XDG_CONFIG_HOME/fennick"
chmod 700 "$XDG_RUNTIME_DIR"
printf '[General]\nonBusiness=true\nprevTimeStr=20240301090000\n' >"$XDG_CONFIG_HOME/fennick/fennick.conf"

cat >"$work/inner.sh" <<'INNER'
set -euo pipefail
median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
one_run() {
    local t0 t1
    t0=$(date +%s%N)
    FENNICK_BENCH_QUIT_WHEN_SHOWN=1 "$@" >/dev/null 2>&1
    t1=$(date +%s%N)
    echo $(((t1 - t0) / 1000))
}
"$MINIMAL" >/dev/null 2>&1 || true # warm the caches once
"$FENNICK" >/dev/null 2>&1 & pid=$!; sleep 2; kill $pid; wait $pid 2>/dev/null || true
# Alternate the two programs so that drift in the machine's load hits both.
: >/tmp/fennick-bench-m; : >/tmp/fennick-bench-f
for _ in $(seq 20); do
    one_run "$MINIMAL" >>/tmp/fennick-bench-m
    one_run "$FENNICK" >>/tmp/fennick-bench-f
done
m=$(median </tmp/fennick-bench-m)
f=$(median </tmp/fennick-bench-f)
rm -f /tmp/fennick-bench-m /tmp/fennick-bench-f
echo "start-up: fennick ${f} us, minimal Qt ${m} us, ratio $(awk -v f="$f" -v m="$m" 'BEGIN {printf "%.2f", f/m}')"

"$FENNICK" >/dev/null 2>&1 & pid=$!
sleep 3
ticks() { awk '{print $14 + $15}' /proc/$pid/stat; }
switches() { cat /proc/$pid/task/*/status | awk '/ctxt_switches/ {s += $2} END {print s}'; }
c0=$(ticks); s0=$(switches)
sleep 10
c1=$(ticks); s1=$(switches)
kill $pid; wait $pid 2>/dev/null || true
hz=$(getconf CLK_TCK)
awk -v c=$((c1 - c0)) -v s=$((s1 - s0)) -v hz="$hz" \
    'BEGIN {printf "checked-in idle: %.2f %% of one core, %.1f wake-ups a second\n", 100 * c / hz / 10, s / 10}'
INNER
# A desktop session always has a session bus; without one, Qt's accessibility
# bridge in both programs forks dbus-launch, which is not start-up work.
session=()
command -v dbus-run-session >/dev/null && session=(dbus-run-session --)
FENNICK=$fennick MINIMAL=$minimal "${session[@]}" xvfb-run -a -s "-screen 0 1280x800x24" bash "$work/inner.sh"
