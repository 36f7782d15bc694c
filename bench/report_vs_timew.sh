#!/usr/bin/env bash
# Whole-process time of `fennick report monthly` over ten years of time logs,
# beside Timewarrior's `timew summary` over the same intervals.
#   bench/report_vs_timew.sh [path/to/fennick]    (default: build/bin/fennick)
# Generates about 5,000 punch lines (weekdays, one or two intervals a day,
# some days off) into a temporary HOME, writes the same intervals as
# Timewarrior data files, checks that both tools count the same total for
# the last twelve months, then times them with hyperfine (or a plain loop).
# Goal: fennick under 50 ms.
set -euo pipefail
cd "$(dirname "$0")/.."

fail() {
    echo "report_vs_timew: $*" >&2
    exit 1
}
need() { command -v "$1" >/dev/null || fail "needs $1 (apt-get install $2)"; }

fennick=${1:-build/bin/fennick}
[ -x "$fennick" ] || fail "no fennick at $fennick; build it first: cmake -S . -B build -G Ninja && ninja -C build"
fennick=$(realpath "$fennick")
need timew timewarrior
need python3 python3
have_hyperfine=1
command -v hyperfine >/dev/null || {
    have_hyperfine=0
    echo "report_vs_timew: hyperfine not found (apt-get install hyperfine); timing with a loop" >&2
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home TZ=UTC LANG=C.UTF-8 LC_ALL=C.UTF-8
export TIMEWARRIORDB=$HOME/.timewarrior
unset XDG_CONFIG_HOME XDG_DATA_HOME DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
mkdir -p "$HOME/Library/fennick" "$TIMEWARRIORDB/data"
: >"$TIMEWARRIORDB/timewarrior.cfg"

# Ten years up to yesterday, in UTC so both tools see the same wall times.
python3 - "$HOME/Library/fennick" "$TIMEWARRIORDB/data" <<'PY'
import datetime as dt, random, sys
logs, data = sys.argv[1], sys.argv[2]
rng = random.Random(2024)
today = dt.datetime.now(dt.timezone.utc).date()
day = dt.date(today.year - 10, today.month, 1)
punches = {}
intervals = {}
def at(d, hour, minute, jitter):
    t = dt.datetime(d.year, d.month, d.day, hour, minute) + dt.timedelta(minutes=rng.randint(-jitter, jitter))
    return t.replace(second=rng.randint(0, 59))
while day < today:
    if day.weekday() < 5 and rng.random() >= 0.08:
        if rng.random() < 0.12:
            spans = [(at(day, 8, 0, 30), at(day, 12, 0, 20)), (at(day, 13, 0, 20), at(day, 17, 30, 40))]
        else:
            spans = [(at(day, 8, 15, 40), at(day, 16, 45, 50))]
        for start, end in spans:
            lines = punches.setdefault(day.strftime("TLOG%Y%m.txt"), [])
            for kind, t in (("CheckIn:", start), ("CheckOut:", end)):
                written = t + dt.timedelta(seconds=rng.randint(0, 3))
                lines.append(f"{written:%Y/%m/%d %H:%M:%S}\t{kind}\t{t:%Y%m%d%H%M%S}\n")
            intervals.setdefault(day.strftime("%Y-%m.data"), []).append(
                f"inc {start:%Y%m%dT%H%M%SZ} - {end:%Y%m%dT%H%M%SZ}\n")
    day += dt.timedelta(days=1)
for name, lines in punches.items():
    open(f"{logs}/{name}", "w").write("".join(lines))
for name, lines in intervals.items():
    open(f"{data}/{name}", "w").write("".join(lines))
print(f"generated {sum(map(len, punches.values()))} punch lines in {len(punches)} month files")
PY

# The twelve months ending with this one, as fennick's monthly report shows.
this_month=$(date -u +%Y-%m-01)
from=$(date -u -d "$this_month -11 months" +%Y-%m-%d)
to=$(date -u -d "$this_month +1 month" +%Y-%m-%d)

json_field() { python3 -c 'import json,sys; print(json.load(sys.stdin)[sys.argv[1]])' "$1"; }
timew_seconds() {
    timew summary "$@" </dev/null | awk 'NF {last=$NF} END {split(last, p, ":"); print p[1]*3600 + p[2]*60 + p[3]}'
}
"$fennick" report monthly >/dev/null || fail "fennick report monthly failed"
fennick_total=$("$fennick" report monthly --format json | json_field totalSeconds)
timew_total=$(timew_seconds "$from" - "$to")
timew summary :all </dev/null >/dev/null || fail "timew summary :all failed"
[ "$fennick_total" = "$timew_total" ] ||
    fail "totals differ for $from .. $to: fennick $fennick_total s, timew $timew_total s"
echo "both count $((fennick_total / 3600)) h for $from .. $to"

# Median wall time of a command in milliseconds.
median_ms() {
    local runs=$1
    shift
    if ((have_hyperfine)); then
        local quoted
        quoted=$(printf '%q ' "$@")
        hyperfine --shell=none --warmup 3 --runs "$runs" --style none \
            --export-json "$work/run.json" "$quoted" </dev/null >/dev/null
        python3 -c 'import json,sys; print("%.1f" % (json.load(open(sys.argv[1]))["results"][0]["median"] * 1000))' \
            "$work/run.json"
    else
        local i t0 t1
        for ((i = 0; i < runs; i++)); do
            t0=$(date +%s%N)
            "$@" </dev/null >/dev/null
            t1=$(date +%s%N)
            echo $((t1 - t0))
        done | sort -n | awk '{a[NR]=$1} END {m = NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2; printf "%.1f\n", m/1e6}'
    fi
}

f=$(median_ms 50 "$fennick" report monthly)
t_all=$(median_ms 20 timew summary :all)
t_year=$(median_ms 20 timew summary "$from" - "$to")
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
echo "fennick report monthly:            median $f ms"
echo "timew summary :all (ten years):    median $t_all ms  (timew/fennick $(ratio "$t_all" "$f"))"
echo "timew summary $from - $to: median $t_year ms  (timew/fennick $(ratio "$t_year" "$f"))"
if awk -v f="$f" 'BEGIN {exit !(f < 50)}'; then
    echo "goal met: fennick under 50 ms"
else
    echo "goal NOT met: fennick takes $f ms (goal: under 50 ms)"
fi
