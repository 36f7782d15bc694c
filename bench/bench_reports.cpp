// The report windows' fills over realistic data: the monthly sums window over
// ten years of files (about 5,000 punch lines), the daily and weekly sums
// windows over a month of 10,000 lines, each through the real controller.
#include "app/mycontroller.h"
#include "windows/reportwindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace fennick;

namespace {

CalDate at(const QString& compact) {
    return *CalDate::parse(compact, CalFormat::Compact);
}

void appendShift(QByteArray& text, const CalDate& in, const CalDate& out) {
    for (const auto& [t, kind] : {std::pair{in, "CheckIn:"}, std::pair{out, "CheckOut:"}})
        text += (t.format(CalFormat::Display) + u'\t' + QLatin1String(kind) + u'\t' +
                 t.format(CalFormat::Compact) + u'\n')
                    .toLatin1();
}

void writeFile(const QString& path, const QByteArray& text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(path));
}

struct Setup {
    QTemporaryDir home;
    FixedClock clock{at("20241215120000")};
    std::unique_ptr<MyController> controller;

    Setup() {
        const QString dir = home.path() + "/Library/fennick";
        QDir().mkpath(dir);
        // Ten years of weekdays, one shift a day: about 5,200 punch lines.
        for (int months = 0; months < 120; ++months) {
            const CalDate first = at("20150101000000").addMonths(months);
            QByteArray month;
            for (CalDate day = first; day.month() == first.month(); day = day.nextDayStart()) {
                if ((day.instant() / 86400 + 3) % 7 >= 5)
                    continue;
                const CalDate in = CalDate::fromInstant(day.instant() + 8 * 3600);
                appendShift(month, in, CalDate::fromInstant(in.instant() + 8 * 3600 + 1800));
            }
            writeFile(dir + "/" + first.format(CalFormat::LogFileName), month);
        }
        // The current month: 5,000 shifts, 10,000 lines.
        QByteArray busy;
        for (int i = 0; i < 5000; ++i) {
            const CalDate in = CalDate::fromInstant(at("20241201000000").instant() + i * 240);
            appendShift(busy, in, CalDate::fromInstant(in.instant() + 120));
        }
        writeFile(dir + "/TLOG202412.txt", busy);

        ControllerEnv env;
        env.clock = &clock;
        env.startup.version = [] { return VersionAnswer{0, kMinimumVersion}; };
        env.startup.beep = [] {};
        env.startup.sleep = [](std::chrono::milliseconds) {};
        env.startup.log = [](const QString&) {};
        env.startup.homeDir = home.path();
        env.settingsPath = home.path() + "/settings.ini";
        env.offerTrayIcon = false;
        controller = std::make_unique<MyController>(std::move(env));
        controller->awakeFromNib();
    }
};

Setup& setup() {
    static Setup s;
    return s;
}

void BM_showSum2Window(benchmark::State& state) {
    MyController& c = *setup().controller;
    for (auto _ : state)
        c.showSum2Window();
}
BENCHMARK(BM_showSum2Window)->Unit(benchmark::kMillisecond);

void BM_showSum1Window(benchmark::State& state) {
    MyController& c = *setup().controller;
    for (auto _ : state)
        c.showSum1Window();
}
BENCHMARK(BM_showSum1Window)->Unit(benchmark::kMillisecond);

// The weeks touching December 2024 with a target: the 10,000 lines of
// December and November's file, through the window.
void BM_showWeekWindow(benchmark::State& state) {
    MyController& c = *setup().controller;
    c.session().settings().setTargetMinutes({480, 480, 480, 480, 480, 0, 0});
    for (auto _ : state)
        c.showWeekWindow();
}
BENCHMARK(BM_showWeekWindow)->Unit(benchmark::kMillisecond);

// The same report's content alone, as the terminal computes it.
void BM_weeklySumsContent(benchmark::State& state) {
    Setup& s = setup();
    const LogFolder folder = s.controller->session().store().folder();
    const WeekTargets targets{{480, 480, 480, 480, 480, 0, 0}};
    for (auto _ : state)
        benchmark::DoNotOptimize(
            reportContent(ReportKind::WeeklySums, 0, folder, s.clock, targets));
}
BENCHMARK(BM_weeklySumsContent)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
