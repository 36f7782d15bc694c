#!/usr/bin/env bash
# Whole-process times of the terminal commands over ten years of time logs,
# beside Timewarrior over the same intervals.
#   bench/report_vs_timew.sh [path/to/fennick]    (default: build/bin/fennick)
# Generates about 5,000 punch lines (weekdays, one or two intervals a day,
# some days off) into a temporary HOME, writes the same intervals as
# Timewarrior data files, checks that both tools count the same total for
# the last twelve months, then times in one hyperfine run, the commands
# taking turns round by round so that drift in the machine's load hits all:
#   fennick report monthly   against timew summary over the same twelve
#                            months (goal: at most 0.5 of its time) and
#                            timew summary :all (goal: under 0.2)
#   fennick status           goal: median under 10 ms
#   fennick toggle           a punch, fsync included, in a HOME of its own
#                            that starts empty; goal: median under 10 ms
# The punch runs under env(1) to get its HOME, whose own start counts too.
# Both tools run in the caller's time zone: TZ when it is set, else the
# system's, as on a desktop (timew reads the zone file far more often than
# fennick, so TZ=UTC makes it about twice as fast; the rest does not change).
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
need hyperfine hyperfine

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home LANG=C.UTF-8 LC_ALL=C.UTF-8
export TIMEWARRIORDB=$HOME/.timewarrior
unset XDG_CONFIG_HOME XDG_DATA_HOME DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
mkdir -p "$HOME/Library/fennick" "$TIMEWARRIORDB/data"
: >"$TIMEWARRIORDB/timewarrior.cfg"

# Ten years up to yesterday: fennick's punches in local time, Timewarrior's
# intervals the same instants in UTC.
python3 - "$HOME/Library/fennick" "$TIMEWARRIORDB/data" <<'PY'
import datetime as dt, random, sys
logs, data = sys.argv[1], sys.argv[2]
rng = random.Random(2024)
today = dt.date.today()
day = dt.date(today.year - 10, today.month, 1)
punches = {}
intervals = {}
def utc(local):
    return local.astimezone(dt.timezone.utc)
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
            intervals.setdefault(utc(start).strftime("%Y-%m.data"), []).append(
                f"inc {utc(start):%Y%m%dT%H%M%SZ} - {utc(end):%Y%m%dT%H%M%SZ}\n")
    day += dt.timedelta(days=1)
for name, lines in punches.items():
    open(f"{logs}/{name}", "w").write("".join(lines))
for name, lines in intervals.items():
    open(f"{data}/{name}", "w").write("".join(lines))
print(f"generated {sum(map(len, punches.values()))} punch lines in {len(punches)} month files")
PY

# The twelve months ending with this one, as fennick's monthly report shows.
this_month=$(date +%Y-%m-01)
from=$(date -d "$this_month -11 months" +%Y-%m-%d)
to=$(date -d "$this_month +1 month" +%Y-%m-%d)

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

punch_home=$work/punch
mkdir -p "$punch_home/Library/fennick"  # a folder of its own, found first
rounds=10
commands=("$fennick report monthly" "timew summary $from - $to" "timew summary :all"
    "$fennick status" "env HOME=$punch_home $fennick toggle")
hyperfine --shell=none --warmup 1 --runs 10 --parameter-list round "$(seq -s, "$rounds")" \
    --style none --export-json "$work/runs.json" "${commands[@]}" </dev/null >/dev/null 2>"$work/warnings"
punches=$(cat "$punch_home"/Library/fennick/TLOG*.txt | wc -l)
((punches >= rounds * 11)) || fail "the punches did not all land: $punches lines"
outliers=$(grep -c "outliers" "$work/warnings" || true)
((outliers == 0)) || echo "hyperfine saw outliers in $outliers of $((rounds * ${#commands[@]})) series: is the machine busy?"

python3 - "$work/runs.json" "$from" "$to" "${commands[@]}" <<'PY'
import json, statistics, sys
runs, start, end = sys.argv[1:4]
names = dict(zip(sys.argv[4:], ["report", "timew-year", "timew-all", "status", "toggle"]))
labels = {"report": "fennick report monthly", "timew-year": f"timew summary {start} - {end}",
          "timew-all": "timew summary :all", "status": "fennick status",
          "toggle": "fennick toggle (a punch)"}
times, cpu = {}, {}
for result in json.load(open(runs))["results"]:
    name = names[result["command"]]
    times.setdefault(name, []).extend(result["times"])
    cpu.setdefault(name, []).append(result["user"] + result["system"])
ms = {name: statistics.median(t) * 1000 for name, t in times.items()}
print(f"medians of {len(times['report'])} runs each, taking turns (and the mean CPU time):")
for name, label in labels.items():
    print(f"  {label:40} {ms[name]:7.2f} ms  (CPU {statistics.mean(cpu[name]) * 1000:.2f} ms)")
goals = [  # what, value, goal, whether the goal itself passes
    ("report monthly / timew over the twelve months", ms["report"] / ms["timew-year"], 0.5, True),
    ("report monthly / timew :all", ms["report"] / ms["timew-all"], 0.2, False),
    ("status median in ms", ms["status"], 10, False),
    ("toggle median in ms", ms["toggle"], 10, False),
]
for what, value, goal, inclusive in goals:
    met = value <= goal if inclusive else value < goal
    print(f"goal {'met' if met else 'NOT met'}: {what} {value:.2f} "
          f"({'at most' if inclusive else 'under'} {goal})")
PY
