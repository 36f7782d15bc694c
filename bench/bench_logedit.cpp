// An edit from the log window (a punch's time changed) and its undo in a
// month of 10,000 record lines, the way the window does them: under the
// folder's lock, through the durable write (temporary file, fsync, rename,
// fsync of the folder), then the state read again from the log. The month
// file is put back between iterations outside the timed part.
#include "shell/session.h"
#include "timelog/logedit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <vector>

using namespace fennick;

namespace {

CalDate at(const char* compact) {
    return *CalDate::parse(QString::fromLatin1(compact), CalFormat::Compact);
}

// Alternating check-ins and check-outs of February 2004, a minute apart.
QByteArray monthLines(int lines) {
    QByteArray text;
    for (int i = 0; i < lines; ++i) {
        const CalDate punch = CalDate::fromInstant(at("20040201000000").instant() + i * 60);
        text += makeRecordLine(punch, i % 2 ? PunchKind::CheckOut : PunchKind::CheckIn, punch)
                    .toLatin1();
    }
    return text;
}

void report(benchmark::State& state, std::vector<double> millis) {
    if (millis.empty())
        return;
    std::sort(millis.begin(), millis.end());
    state.counters["median_ms"] = millis[millis.size() / 2];
    state.counters["p90_ms"] = millis[millis.size() * 9 / 10];
}

template <typename Action> double timed(Action&& action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// `undo` false: times the edit; true: times the undo of the edit.
void editMonth(benchmark::State& state, bool undo) {
    QTemporaryDir tmp;
    const QString home = tmp.filePath("home"), logs = home + "/Library/fennick";
    const QString path = logs + "/TLOG200402.txt";
    const QByteArray original = monthLines(10000);
    const QByteArray middle = lineOf(original, recordLines(original).at(5000));
    FixedClock clock(at("20040229120000"));
    PunchSession session(clock,
                         SessionEnv{home, tmp.filePath("settings.ini"), [](const QString&) {}}, {});
    std::vector<double> millis;
    for (auto _ : state) {
        QFile file(path);
        if (!QDir().mkpath(logs) || !file.open(QIODevice::WriteOnly) ||
            file.write(original) != original.size()) {
            state.SkipWithError("cannot put the month file back");
            break;
        }
        file.close();
        session.open();
        const RecordAt record{path, 5000, middle};
        std::optional<QString> refusal;
        double seconds = timed([&] { refusal = session.changeTime(record, at("20040204112030")); });
        if (undo && !refusal)
            seconds = timed([&] { refusal = session.undo(); });
        if (refusal) {
            state.SkipWithError(qPrintable(*refusal));
            break;
        }
        state.SetIterationTime(seconds);
        millis.push_back(seconds * 1000);
    }
    report(state, std::move(millis));
}

} // namespace

BENCHMARK_CAPTURE(editMonth, change_time_10000_lines, false)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(100);
BENCHMARK_CAPTURE(editMonth, undo_10000_lines, true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(100);

BENCHMARK_MAIN();
