#include "cli/punch.h"

#include "shell/session.h"
#include "timelog/checkinstate.h"
#include "timelog/fileops.h"
#include "timelog/logedit.h"
#include "timelog/logfile.h"
#include "timelog/timeentry.h"

#include <cerrno>
#include <cstring>
#include <memory>

namespace fennick {

namespace {

// How one run ended, as the session's hooks heard it.
struct Outcome {
    std::optional<QString> refusal;
    std::optional<FileFailure> failure;
    QStringList recorded;
};

QString punchText(PunchKind kind, const QString& timeToken) {
    const auto time = CalDate::parse(timeToken, CalFormat::Compact);
    const QString shown = time ? time->format(CalFormat::Display) : timeToken;
    return kind == PunchKind::CheckIn ? CliText::tr("check in at %1").arg(shown)
                                      : CliText::tr("check out at %1").arg(shown);
}

QString missingPunch(bool forCkin, const QString& prevTime) {
    const QString since = lastPunchText(prevTime);
    return forCkin ? CliText::tr("the check out after the check in at %1 is missing; give its "
                                 "time with 'fennick in --at HH:MM' or --at \"YYYY-MM-DD HH:MM\"")
                         .arg(since)
                   : CliText::tr("the check in after the check out at %1 is missing; give its "
                                 "time with 'fennick out --at HH:MM' or --at \"YYYY-MM-DD HH:MM\"")
                         .arg(since);
}

// The forgotten punch's time from "--at", within the time-entry dialog's
// bounds: not before the last punch, not after the press.
int answerFromAt(PunchSession& session, const std::optional<CalDate>& at, const CalDate& press,
                 const QString& prevTime, bool forCkin, Outcome& outcome) {
    if (!at) {
        outcome.refusal = missingPunch(forCkin, prevTime);
        return kModalAborted;
    }
    const CalFields& f = at->fields();
    const EntryTexts fields{QString::number(f.year), QString::number(f.month),
                            QString::number(f.day), QString::number(f.hour),
                            QString::number(f.minute)};
    const auto accepted = acceptEntry(fields, prevTime, press.format(CalFormat::Display));
    if (!accepted) {
        outcome.refusal = CliText::tr("the time %1 lies outside %2 – %3, between the last punch "
                                      "and now; nothing was recorded")
                              .arg(at->format(CalFormat::Display), lastPunchText(prevTime),
                                   press.format(CalFormat::Display));
        return kModalAborted;
    }
    session.timeClock().setMyInputCalDate(*accepted);
    return kModalStopped;
}

TimeClock::Hooks hooksFor(const std::unique_ptr<PunchSession>& session,
                          const std::optional<CalDate>& at, Outcome& outcome) {
    TimeClock::Hooks hooks;
    hooks.enterTimeDialog = [&session, &outcome, at](const CalDate& press, const QString& prevTime,
                                                     bool forCkin) {
        return answerFromAt(*session, at, press, prevTime, forCkin, outcome);
    };
    hooks.beep = [&session, &outcome] {
        if (outcome.refusal)
            return;
        outcome.refusal = session->timeClock().prevTimeStr().isEmpty()
                              ? CliText::tr("no punch has been recorded yet; there is no check "
                                            "in to check out from")
                              : CliText::tr("the log changed meanwhile; nothing was recorded");
    };
    hooks.punchFailed = [&outcome](const FileFailure& failure) { outcome.failure = failure; };
    hooks.stepRecorded = [&outcome](const LogStep& step) {
        for (const QByteArray& line : step.appendedLines) {
            forEachRecord(QString::fromUtf8(line), [&](const Record& record) {
                outcome.recorded << punchText(record.kind, record.timeToken.toString());
            });
        }
    };
    return hooks;
}

// Whether the command's punch is the second of a kind: only then does
// "--at" have a time to give.
bool punchMissing(CliCommand command, const TimeClock& clock) {
    return command == CliCommand::In ? clock.onBusinessP() && !clock.prevTimeStr().isEmpty()
                                     : !clock.onBusinessP() && !clock.prevTimeStr().isEmpty();
}

int refuse(QTextStream& err, const QString& message) {
    err << "fennick: " << message << '\n';
    return kCliUsage;
}

int writeFailed(QTextStream& err, const FileFailure& failure) {
    err << "fennick: "
        << CliText::tr("%1 could not be written: %2").arg(failure.path, failure.reason) << '\n';
    return kCliWriteFailed;
}

int reportOutcome(const Outcome& outcome, QTextStream& out, QTextStream& err) {
    if (!outcome.recorded.isEmpty())
        out << CliText::tr("Recorded %1.").arg(outcome.recorded.join(QLatin1String(", "))) << '\n';
    if (outcome.failure)
        return writeFailed(err, *outcome.failure);
    if (outcome.recorded.isEmpty())
        return refuse(err, outcome.refusal.value_or(CliText::tr("nothing was recorded")));
    return kCliOk;
}

int punch(const CliRequest& request, QTextStream& out, QTextStream& err, const CliEnv& env,
          std::unique_ptr<PunchSession>& session) {
    std::optional<CalDate> at;
    if (request.at) {
        at = atTime(*request.at, env.clock.now());
        if (!at)
            return refuse(err, CliText::tr("'%1' is no time; give it as HH:MM or "
                                           "\"YYYY-MM-DD HH:MM\"")
                                   .arg(*request.at));
    }
    Outcome outcome;
    session = std::make_unique<PunchSession>(env.clock,
                                             SessionEnv{env.homeDir, env.settingsPath, env.log},
                                             hooksFor(session, at, outcome));
    session->open();
    TimeClock& clock = session->timeClock();
    if (at && !punchMissing(request.command, clock))
        return refuse(err, CliText::tr("no punch is missing: --at gives the time of a forgotten "
                                       "punch; nothing was recorded"));
    clock.checkMonthFile();
    if (request.command == CliCommand::In)
        clock.checkInLog();
    else if (request.command == CliCommand::Out)
        clock.checkOutLog();
    else
        clock.toggleLog();
    return reportOutcome(outcome, out, err);
}

// The newest month file that holds a record, its bytes and record lines;
// no lines when a month file on the way cannot be read.
struct NewestLine {
    QString path;
    QByteArray onDisk;
    QByteArray bytes;
    QList<RecordLine> lines;
};

std::optional<NewestLine> newestLine(const LogFolder& folder) {
    if (!folder.index)
        return std::nullopt;
    for (auto it = folder.index->constEnd(); it != folder.index->constBegin();) {
        --it;
        const QString path = *folder.monthFile(it.key());
        const std::optional<LogFileText> file = readLogFile(path);
        // A newer month that cannot be read may hold the newest punch.
        if (!file)
            return NewestLine{path, {}, {}, {}};
        NewestLine found{path, file->bytes, editableBytes(file->bytes), {}};
        found.lines = recordLines(found.bytes);
        if (!found.lines.isEmpty())
            return found;
    }
    return std::nullopt;
}

// True when the line is exactly what fennick writes for a punch: a hand edit
// is not undone from the terminal.
bool readsAsWritten(const QByteArray& line, const RecordLine& record) {
    const QList<QByteArray> fields = line.split('\t');
    if (fields.size() != 3)
        return false;
    const auto written = CalDate::parse(QString::fromLatin1(fields[0]), CalFormat::Display);
    const auto punch = CalDate::parse(record.timeToken, CalFormat::Compact);
    return written && punch &&
           makeRecordLine(*written, record.kind, *punch).toUtf8() == line + '\n';
}

int undo(QTextStream& out, QTextStream& err, const CliEnv& env,
         std::unique_ptr<PunchSession>& session) {
    session = std::make_unique<PunchSession>(
        env.clock, SessionEnv{env.homeDir, env.settingsPath, env.log}, TimeClock::Hooks{});
    session->open();
    const FolderLock lock = session->lockFolder();
    const std::optional<NewestLine> newest =
        newestLine(LogFolder::scanned(session->store().logsDirPathStr()));
    if (!newest)
        return refuse(err, CliText::tr("there is no punch to undo"));
    if (newest->lines.isEmpty())
        return refuse(err, CliText::tr("%1 cannot be read; nothing was undone").arg(newest->path));
    const RecordLine& last = newest->lines.last();
    const QByteArray line = lineOf(newest->bytes, last);
    if (!readsAsWritten(line, last))
        return refuse(err, CliText::tr("the last record of %1 is not as fennick wrote it; "
                                       "nothing was undone")
                               .arg(newest->path));
    const QByteArray without =
        withoutRecord(newest->bytes, newest->lines, newest->lines.size() - 1);
    if (const auto failure = writeEdits({FileEdit{newest->path, newest->onDisk, without}}, true))
        return writeFailed(err, *failure);
    TimeClock& clock = session->timeClock();
    // With no record left there is nothing for the state to follow.
    if (!clock.followLog() &&
        !newestRecord(LogFolder::scanned(session->store().logsDirPathStr()))) {
        clock.setOnBusinessP(false);
        clock.setPrevTimeStr(QString());
        session->saveDefaults();
    }
    out << CliText::tr("Removed %1.").arg(punchText(last.kind, last.timeToken)) << '\n';
    return kCliOk;
}

} // namespace

int runPunch(const CliRequest& request, QTextStream& out, QTextStream& err, const CliEnv& env) {
    // The hooks reach the session through this pointer once it is built.
    std::unique_ptr<PunchSession> session;
    if (request.command == CliCommand::Undo)
        return undo(out, err, env, session);
    return punch(request, out, err, env, session);
}

} // namespace fennick
