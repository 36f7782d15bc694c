#pragma once

#include "platform/caldate.h"
#include "platform/clock.h"
#include "timelog/loghistory.h"
#include "timelog/record.h"
#include "timelog/store.h"

#include <QByteArray>
#include <QString>
#include <variant>

namespace fennick {

// A record of a month file as the log window lists it: the file, its place
// among the file's records and its line as read, so an edit can tell when
// the file changed in between.
struct RecordAt {
    QString path;
    qsizetype index = 0;
    QByteArray line;
};

// A record as the log window lists it, with the punch times of the records
// before and after it in its file: the bounds of a new time for it.
struct ListedRecord {
    RecordAt at;
    PunchKind kind = PunchKind::CheckIn;
    QString timeToken;
    QString earlierToken; // empty for the file's first record
    QString laterToken;   // empty for the file's last record
};

// The record `index` of a month file, in file order as the log lists them;
// absent when the file cannot be read or has no such record.
std::optional<ListedRecord> listedRecord(const QString& path, qsizetype index);

// Edits of the log from the log window. Each plans the new bytes of the
// files it touches and writes them durably; a record moved to another
// month's file is written there first and then taken out of its own, and
// when the second write fails the first is undone. Answers the step to undo
// it, or why nothing was changed.
class LogEditor {
public:
    using Result = std::variant<LogStep, QString>;

    LogEditor(TimeLogStore& store, const Clock& clock) : store_(store), clock_(clock) {}

    Result changeTime(const RecordAt& record, const CalDate& time);
    Result remove(const RecordAt& record);
    Result insert(PunchKind kind, const CalDate& time);

private:
    TimeLogStore& store_;
    const Clock& clock_;
};

} // namespace fennick
