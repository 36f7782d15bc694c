#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace fennick {

// One change of one month file: its whole bytes before and after. A file
// that is not there before the step is made by it; one not there after it
// is removed.
struct FileEdit {
    QString path;
    QByteArray before;
    QByteArray after;
    bool absentBefore = false;
    bool absentAfter = false;
};

// A file that could not be written (or read), and the system's reason.
struct FileFailure {
    QString path;
    QString reason;
};

// What one undo step changed: a punch (with a forgotten one, possibly in the
// month before) or an edit of the log, which may move a record from one
// month's file to another's. `what` names it in the menu ("Check In at 09:12").
struct LogStep {
    QString what;
    QList<FileEdit> edits;
    // The record lines a punch appended, one for each edit; undo removes them
    // while each is still the last record of its file and reads as written.
    QList<QByteArray> appendedLines;
};

// Writes each edit's after bytes (or, backwards, its before bytes, last edit
// first) durably over its file. When a write fails, the files already written
// get their bytes back, and the failure is answered.
std::optional<FileFailure> writeEdits(const QList<FileEdit>& edits, bool forwards);

// The steps of this session that can be undone and redone, newest last.
class LogHistory {
public:
    void recorded(LogStep step);

    const LogStep* nextUndo() const { return done_.isEmpty() ? nullptr : &done_.last(); }
    const LogStep* nextRedo() const { return undone_.isEmpty() ? nullptr : &undone_.last(); }

    // Undoes the newest step, or says why not: a file no longer holds what
    // the step left there (edited by hand, another punch since) or could not
    // be written. Nothing is changed then.
    std::optional<QString> undo();
    // Does the step undone last again, while its files are as undo left them.
    std::optional<QString> redo();

private:
    QList<LogStep> done_;
    QList<LogStep> undone_;
};

} // namespace fennick
