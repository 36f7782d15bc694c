#include "cli/cli.h"

#include "cli/args.h"
#include "cli/merge.h"
#include "cli/output.h"
#include "cli/punch.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "timelog/store.h"

#include <QDir>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <syslog.h>

namespace fennick {

namespace {

// The message on one line, even when it quotes a word holding a line break.
QString oneLine(const QString& text) {
    QString line;
    for (const QChar c : text) {
        if (c == u'\n')
            line += QLatin1String("\\n");
        else if (c == u'\r')
            line += QLatin1String("\\r");
        else
            line += c.category() == QChar::Other_Control ? QChar(u'?') : c;
    }
    return line;
}

int fail(QTextStream& err, const CliError& error) {
    err << "fennick: " << oneLine(error.message) << '\n';
    err.flush();
    return kCliUsage;
}

// One line for each month file that is there but could not be read: never a
// silent zero.
int readStatus(const QList<FileFailure>& unreadable, QTextStream& err) {
    for (const FileFailure& failure : unreadable)
        err << "fennick: "
            << oneLine(CliText::tr("%1 cannot be read: %2").arg(failure.path, failure.reason))
            << '\n';
    err.flush();
    return unreadable.isEmpty() ? kCliOk : kCliUnreadable;
}

QString logFolderOf(const Settings& settings, const CliEnv& env) {
    return resolveLogFolder(settings.stringForKey(kLogFolderKey), env.homeDir);
}

struct LoggedState {
    bool onBusiness = false;
    QString prevTime;
};

// The state the log's newest record gives. The settings are only a copy and
// lag behind a punch synced in from another machine or made by hand.
LoggedState loggedState(const Settings& settings, const LogFolder& folder) {
    if (const auto newest = newestRecord(folder))
        return {newest->kind == PunchKind::CheckIn, newest->timeToken};
    return {settings.boolForKey(kOnBusinessKey), settings.stringForKey(kPrevTimeStrKey)};
}

int report(const CliRequest& request, QTextStream& out, QTextStream& err, const CliEnv& env) {
    int offset = 0;
    if (request.month) {
        const auto parsed = monthOffset(*request.month, env.clock.now());
        if (const auto* error = std::get_if<CliError>(&parsed))
            return fail(err, *error);
        offset = std::get<int>(parsed);
    }
    const Settings settings(openSettingsStore(env.settingsPath), LogSink{});
    const ReportContent content = collectReport(
        request.report, offset, logFolderOf(settings, env), env.clock,
        request.report == ReportKind::WeeklySums ? WeekTargets{settings.targetMinutes()}
                                                 : WeekTargets{});
    writeReport(out, content, request.format);
    announceConflicts(content.conflicts, err);
    return readStatus(content.unreadable, err);
}

int status(const CliRequest& request, QTextStream& out, QTextStream& err, const CliEnv& env) {
    // Reads only: the store is never written, so no file is made or changed.
    Settings settings(openSettingsStore(env.settingsPath), LogSink{});
    settings.registerDefaults(Settings::appDefaults());
    // One listing of the folder serves the state, the figures and the notice.
    const LogFolder folder = LogFolder::scanned(logFolderOf(settings, env));
    const LoggedState state = loggedState(settings, folder);
    const CliStatusData data = collectStatus(state.onBusiness, state.prevTime, folder, env.clock,
                                             WeekTargets{settings.targetMinutes()});
    writeStatus(out, data, request.format);
    announceConflicts(data.conflicts, err);
    return readStatus(data.unreadable, err);
}

int dispatch(const CliRequest& request, QTextStream& out, QTextStream& err, const CliEnv& env) {
    switch (request.command) {
    case CliCommand::Help:
        out << cliUsage();
        return kCliOk;
    case CliCommand::Version:
        out << "fennick " FENNICK_VERSION "\n";
        return kCliOk;
    case CliCommand::Report:
        return report(request, out, err, env);
    case CliCommand::Status:
        return status(request, out, err, env);
    case CliCommand::In:
    case CliCommand::Out:
    case CliCommand::Toggle:
    case CliCommand::Undo:
        return runPunch(request, out, err, env);
    case CliCommand::Merge:
        return runMerge(out, err, env);
    }
    return kCliUsage;
}

} // namespace

QString cliUsage() {
    return CliText::tr(
        "Usage: fennick in [--at TIME]\n"
        "       fennick out [--at TIME]\n"
        "       fennick toggle | undo\n"
        "       fennick merge\n"
        "       fennick report log|daily|monthly|weekly [--month YYYYMM] [--format "
        "text|csv|json]\n"
        "       fennick status [--format text|json]\n"
        "       fennick --help | --version\n"
        "       fennick              (opens the check-in window)\n"
        "\n"
        "A personal time clock. From the terminal it punches as its buttons do and\n"
        "prints what its windows show:\n"
        "  in               check in\n"
        "  out              check out\n"
        "  toggle           check out when checked in, else check in\n"
        "  undo             remove the newest punch, if it is still the last record\n"
        "  merge            merge the conflict copies a file-sync tool saved beside\n"
        "                   a month file into it, then remove them\n"
        "  report log       the month's punches\n"
        "  report daily     the time worked on each day of the month, and the total\n"
        "  report monthly   the time worked in each of the twelve months ending with\n"
        "                   the month, and the total\n"
        "  report weekly    the time worked in each ISO week touching the month and\n"
        "                   the month's total; with a target set in Preferences,\n"
        "                   each week's target and difference and the month's balance\n"
        "  status           checked in or out, the last punch and today's time; with\n"
        "                   a target, this week's time, its target and the balance\n"
        "\n"
        "Options:\n"
        "  --at TIME        the time of a forgotten punch: HH:MM today or\n"
        "                   \"YYYY-MM-DD HH:MM\", not before the last punch, not\n"
        "                   after now\n"
        "  --month YYYYMM   the month to report (default: the current month)\n"
        "  --format FORMAT  text (default), csv or json; csv and json use fixed\n"
        "                   keys, ISO 8601 times and durations in seconds\n"
        "  -h, --help       show this help and exit\n"
        "  -v, --version    show the version and exit\n"
        "\n"
        "Punches take the log folder's lock, so they are safe to run while fennick\n"
        "is open. Exit status: 0 on success, 1 when a file could not be written or\n"
        "read, 2 for bad arguments or a refused punch (nothing changed).\n");
}

int runCli(const QStringList& args, QTextStream& out, QTextStream& err, const CliEnv& env) {
    const auto parsed = parseCliArgs(args);
    if (const auto* error = std::get_if<CliError>(&parsed))
        return fail(err, *error);
    const int status = dispatch(std::get<CliRequest>(parsed), out, err, env);
    out.flush();
    if (status != kCliUsage && out.status() != QTextStream::Ok) {
        err << "fennick: " << CliText::tr("the output could not be written") << '\n';
        err.flush();
        return kCliOutputFailed;
    }
    return status;
}

int runCliMain(const QStringList& args) {
    SystemClock clock;
    QTextStream out(stdout);
    QTextStream err(stderr);
    // Failures of the store go to the system log only: the terminal gets its
    // own one line.
    const LogSink toSyslog = [](const QString& line) {
        syslog(LOG_ERR, "%s", line.toLocal8Bit().constData());
    };
    const int status = runCli(args, out, err, CliEnv{clock, QDir::homePath(), QString(), toSyslog});
    // A full disk or a closed pipe shows only when the C stream lets go.
    if (std::fflush(stdout) != 0 && status == kCliOk) {
        err << "fennick: "
            << CliText::tr("the output could not be written: %1")
                   .arg(QString::fromLocal8Bit(std::strerror(errno)))
            << '\n';
        return kCliOutputFailed;
    }
    return status;
}

} // namespace fennick
