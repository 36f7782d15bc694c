#include "timelog/loghistory.h"

#include "timelog/fileops.h"
#include "timelog/logedit.h"
#include "timelog/logfile.h"

#include <QCoreApplication>
#include <QHash>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace fennick {

namespace {

std::optional<QByteArray> bytesOf(const QString& path) {
    const std::optional<LogFileText> file = readLogFile(path);
    return file ? std::optional(file->bytes) : std::nullopt;
}

QString changedSince(const QString& path) {
    return QCoreApplication::translate("fennick::LogHistory",
                                       "%1 has changed since; nothing was undone.")
        .arg(path);
}

using HeldBytes = QHash<QString, std::optional<QByteArray>>;

// The bytes of one side of an edit; absent where the file is not there.
std::optional<QByteArray> sideOf(const FileEdit& edit, bool after) {
    if (after ? edit.absentAfter : edit.absentBefore)
        return std::nullopt;
    return after ? edit.after : edit.before;
}

// Puts one side of an edit on disk: writes, makes or removes the file.
bool putSide(const FileEdit& edit, bool after) {
    const std::optional<QByteArray> bytes = sideOf(edit, after);
    if (!bytes)
        return removeFile(edit.path);
    const bool made = after ? edit.absentBefore : edit.absentAfter;
    return made ? createFileWith(edit.path, *bytes) : replaceFileContents(edit.path, *bytes);
}

// The bytes a file holds once the edits already gone through are applied:
// a forgotten punch and the press may both be in one file.
std::optional<QByteArray> heldBytes(const HeldBytes& held, const QString& path) {
    const auto found = held.constFind(path);
    return found != held.constEnd() ? std::optional(*found) : bytesOf(path);
}

// The first file that does not hold what the step's edits expect when they
// are written in order (forwards: each edit's before; backwards: its after).
std::optional<QString> changedFile(const QList<FileEdit>& edits, bool forwards) {
    HeldBytes held;
    for (qsizetype k = 0; k < edits.size(); ++k) {
        const FileEdit& edit = edits[forwards ? k : edits.size() - 1 - k];
        if (heldBytes(held, edit.path) != sideOf(edit, !forwards))
            return edit.path;
        held.insert(edit.path, sideOf(edit, forwards));
    }
    return std::nullopt;
}

// The step with its appended records taken out of files that have changed
// after them only where no record followed (a comment added by hand, say).
// The newest edit is undone first.
std::optional<LogStep> punchUndoneInPlace(const LogStep& step, QString* refusal) {
    LogStep now = step;
    HeldBytes held;
    for (qsizetype i = step.edits.size() - 1; i >= 0; --i) {
        const FileEdit& edit = step.edits[i];
        const std::optional<QByteArray> current = heldBytes(held, edit.path);
        if (!current) {
            *refusal = changedSince(edit.path);
            return std::nullopt;
        }
        if (*current != edit.after) {
            const QList<RecordLine> lines = recordLines(*current);
            if (lines.isEmpty() || lineOf(*current, lines.last()) != step.appendedLines.value(i)) {
                *refusal = QCoreApplication::translate(
                               "fennick::LogHistory",
                               "The last record of %1 is no longer the punch to undo; nothing was "
                               "undone.")
                               .arg(edit.path);
                return std::nullopt;
            }
            now.edits[i] =
                FileEdit{edit.path, withoutRecord(*current, lines, lines.size() - 1), *current};
        }
        held.insert(edit.path, now.edits[i].before);
    }
    return now;
}

std::optional<QString> refusalFor(const std::optional<FileFailure>& failure) {
    if (!failure)
        return std::nullopt;
    return QCoreApplication::translate("fennick::LogHistory", "%1 could not be written: %2")
        .arg(failure->path, failure->reason);
}

} // namespace

std::optional<FileFailure> writeEdits(const QList<FileEdit>& edits, bool forwards) {
    QList<FileEdit> order = edits;
    if (!forwards)
        std::reverse(order.begin(), order.end());
    for (qsizetype i = 0; i < order.size(); ++i) {
        const FileEdit& edit = order[i];
        if (putSide(edit, forwards))
            continue;
        const FileFailure failure{edit.path, QString::fromLocal8Bit(std::strerror(errno))};
        // Put back what this step already wrote; the first failure is the one
        // to report.
        for (qsizetype done = i - 1; done >= 0; --done)
            putSide(order[done], !forwards);
        return failure;
    }
    return std::nullopt;
}

void LogHistory::recorded(LogStep step) {
    done_.append(std::move(step));
    undone_.clear();
}

std::optional<QString> LogHistory::undo() {
    if (done_.isEmpty())
        return QCoreApplication::translate("fennick::LogHistory", "There is nothing to undo.");
    LogStep step = done_.last();
    QString refusal;
    if (!step.appendedLines.isEmpty()) {
        const std::optional<LogStep> inPlace = punchUndoneInPlace(step, &refusal);
        if (!inPlace)
            return refusal;
        step = *inPlace;
    } else {
        if (const std::optional<QString> changed = changedFile(step.edits, false))
            return changedSince(*changed);
    }
    if (const auto failed = refusalFor(writeEdits(step.edits, false)))
        return failed;
    done_.removeLast();
    undone_.append(std::move(step));
    return std::nullopt;
}

std::optional<QString> LogHistory::redo() {
    if (undone_.isEmpty())
        return QCoreApplication::translate("fennick::LogHistory", "There is nothing to redo.");
    const LogStep& step = undone_.last();
    if (const std::optional<QString> changed = changedFile(step.edits, true))
        return QCoreApplication::translate("fennick::LogHistory",
                                           "%1 has changed since; nothing was redone.")
            .arg(*changed);
    if (const auto failed = refusalFor(writeEdits(step.edits, true)))
        return failed;
    done_.append(undone_.takeLast());
    return std::nullopt;
}

} // namespace fennick
