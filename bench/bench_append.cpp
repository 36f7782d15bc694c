// One punch appended to a month file, the way the check-in button does it:
// read the whole file, write it to a temporary file, fsync, rename over the
// old one and fsync the directory. The month file is put back between
// iterations outside the timed part.
#include "timelog/store.h"

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

// Alternating check-ins and check-outs of February 2004 up to `bytes`.
QByteArray monthText(qsizetype bytes) {
    QByteArray text;
    for (int i = 0; text.size() < bytes; ++i) {
        const CalDate punch = CalDate::fromInstant(at("20040201090000").instant() + i * 4 * 3600);
        text += makeRecordLine(punch, i % 2 ? PunchKind::CheckOut : PunchKind::CheckIn, punch)
                    .toLatin1();
    }
    return text;
}

void appendPunch(benchmark::State& state, qsizetype fileBytes) {
    QTemporaryDir tmp;
    const QString path = tmp.filePath("TLOG200402.txt");
    const QByteArray original = monthText(fileBytes);
    FixedClock clock(at("20040228180000"));
    TimeLogStore store(tmp.path(), clock, [](const QString&) {});
    std::vector<double> millis;
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(original) != original.size()) {
            state.SkipWithError("cannot put the month file back");
            break;
        }
        file.close();
        store.dropLogFileDic();
        store.checkLogFileDic();
        const auto start = std::chrono::steady_clock::now();
        const bool written = store.appendPunch(clock.now(), clock.now(), PunchKind::CheckOut);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (!written) {
            state.SkipWithError("append failed");
            break;
        }
        state.SetIterationTime(elapsed.count());
        millis.push_back(elapsed.count() * 1000);
    }
    if (millis.empty())
        return;
    std::sort(millis.begin(), millis.end());
    state.counters["median_ms"] = millis[millis.size() / 2];
    state.counters["p90_ms"] = millis[millis.size() * 9 / 10];
    state.counters["file_bytes"] = double(original.size());
}

} // namespace

BENCHMARK_CAPTURE(appendPunch, realistic_month_60_lines, 60 * 45)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(300);
BENCHMARK_CAPTURE(appendPunch, one_megabyte, 1 << 20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(100);

BENCHMARK_MAIN();
