#include "platform/caldate.h"
#include "platform/clock.h"
#include "reports/report.h"
#include "summary/monthsumhandler.h"
#include "timelog/logfile.h"
#include "timelog/record.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace fennick;

namespace {

CalDate at(int year, int month, int day, int hour, int minute) {
    return *CalDate::fromFields(CalFields{year, month, day, hour, minute, 0});
}

// A working month as the store writes it: four punches a working day (in,
// lunch out, lunch in, out) on 15 days give 60 record lines.
QString monthText(int workingDays) {
    QString text;
    for (int i = 0; i < workingDays; ++i) {
        const int day = 1 + i % 28;
        const int minute = (i * 7) % 60;
        for (const auto& [hour, kind] :
             {std::pair{8, PunchKind::CheckIn}, std::pair{12, PunchKind::CheckOut},
              std::pair{13, PunchKind::CheckIn}, std::pair{17, PunchKind::CheckOut}}) {
            const CalDate punch = at(2024, 3, day, hour, minute);
            text += makeRecordLine(punch, kind, punch);
        }
    }
    return text;
}

QString hugeText(qsizetype bytes) {
    const QString month = monthText(28);
    QString text;
    text.reserve(bytes + month.size());
    while (text.size() < bytes)
        text += month;
    return text;
}

const QString& realisticMonth() {
    static const QString text = monthText(15);
    return text;
}

const QString& tenMegabytes() {
    static const QString text = hugeText(10 * 1024 * 1024);
    return text;
}

const FixedClock& clock() {
    static const FixedClock fixed(at(2024, 3, 20, 12, 0));
    return fixed;
}

template <typename Op> void run(benchmark::State& state, const QString& text, Op op) {
    const MonthSumHandler handler(std::nullopt, clock());
    for (auto _ : state)
        benchmark::DoNotOptimize(op(handler, text));
    // Record lines are ASCII: one byte per character in the file.
    state.SetBytesProcessed(std::int64_t(state.iterations()) * text.size());
}

const auto listing = [](const MonthSumHandler& h, const QString& t) {
    return logRows(h.getLogArrayBuff(t));
};
const auto monthTotal = [](const MonthSumHandler& h, const QString& t) {
    return h.sumMonthBuff(t).sumValue();
};
const auto dayTotals = [](const MonthSumHandler& h, const QString& t) { return h.sumDayBuff(t); };

void BM_ListingMonth(benchmark::State& s) {
    run(s, realisticMonth(), listing);
}
void BM_MonthTotalMonth(benchmark::State& s) {
    run(s, realisticMonth(), monthTotal);
}
void BM_DayTotalsMonth(benchmark::State& s) {
    run(s, realisticMonth(), dayTotals);
}
void BM_Listing10MB(benchmark::State& s) {
    run(s, tenMegabytes(), listing);
}
void BM_MonthTotal10MB(benchmark::State& s) {
    run(s, tenMegabytes(), monthTotal);
}
void BM_DayTotals10MB(benchmark::State& s) {
    run(s, tenMegabytes(), dayTotals);
}

// The whole road of a report refresh: read the file, decode it, total it.
void BM_MonthTotalFile10MB(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath("TLOG202403.txt");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(tenMegabytes().toUtf8()) < 0) {
        state.SkipWithError("cannot write the test file");
        return;
    }
    file.close();
    const MonthSumHandler handler(path, clock());
    for (auto _ : state)
        benchmark::DoNotOptimize(handler.calcMonthSum());
    state.SetBytesProcessed(std::int64_t(state.iterations()) * file.size());
}

BENCHMARK(BM_ListingMonth)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MonthTotalMonth)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DayTotalsMonth)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Listing10MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MonthTotal10MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DayTotals10MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MonthTotalFile10MB)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // A zone with daylight-saving changes, so no zone shortcut flatters the
    // figures.
    setenv("TZ", "Europe/Berlin", 1);
    timeZoneChanged();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
