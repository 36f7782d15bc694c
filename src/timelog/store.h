#pragma once

#include "platform/caldate.h"
#include "platform/clock.h"
#include "platform/syslog.h"
#include "timelog/folderlock.h"
#include "timelog/loghistory.h"
#include "timelog/record.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace fennick {

// Month key ("%Y%m" as found in the name) -> file name as listed.
using MonthIndex = QMap<QString, QString>;
// Month key -> the names of the month's conflict copies, sorted (see
// timelog/conflicts.h).
using ConflictIndex = QMap<QString, QStringList>;

// The month index of a folder's listing now; absent when there is no folder.
std::optional<MonthIndex> scanMonthIndex(const std::optional<QString>& folder);

// The log folder and the month index its files are found through, as one
// value for the readers.
struct LogFolder {
    std::optional<QString> path;
    std::optional<MonthIndex> index;
    ConflictIndex conflicts = {};

    // The folder with an index read from its listing now.
    static LogFolder scanned(std::optional<QString> path);
    // The month's file as "<dir>/<name>"; absent when the month has no file
    // in the index or there is no folder.
    std::optional<QString> monthFile(const QString& monthKey) const;
    // The paths of the month's conflict copies.
    QStringList conflictCopies(const QString& monthKey) const;
    // Every month with a month file or a conflict copy, oldest first.
    QStringList months() const;
};

// The newest record of a folder: the last record of the newest month that
// holds one, its file and conflict copies read together.
struct NewestRecord {
    PunchKind kind = PunchKind::CheckIn;
    QString timeToken;
    friend bool operator==(const NewestRecord&, const NewestRecord&) = default;
};
std::optional<NewestRecord> newestRecord(const LogFolder& folder);

// Knows what lies in the log directory: keeps the month index, makes sure the
// current month's file exists and appends punches. The only writer of time
// log files.
class TimeLogStore {
public:
    TimeLogStore(std::optional<QString> logsDirPathStr, const Clock& clock, LogSink log);

    const std::optional<QString>& logsDirPathStr() const { return logsDir_; }
    const std::optional<QString>& logFilePathStr() const { return logFilePath_; }
    const std::optional<MonthIndex>& myLogFileDic() const { return index_; }
    // The folder with the index as it is cached now.
    LogFolder folder() const { return LogFolder{logsDir_, index_, conflicts_}; }

    // A fresh index of the directory; absent when there is no directory.
    std::optional<MonthIndex> getLogFileDic() const;
    // Builds the index (and that of the conflict copies) only when there is
    // none.
    void checkLogFileDic();
    // Drops the index so that the next checkLogFileDic builds it again.
    void dropLogFileDic() { index_.reset(); }
    // Makes sure the current month's file exists.
    void checkLogFile();
    // Appends one record line to the punch month's file, creating the file
    // when the month has none. True when the line was written; on false the
    // file's contents are as they were.
    bool appendPunch(const CalDate& punch, const CalDate& written, PunchKind kind);
    // What the last successful append changed, and why the last failed one
    // failed.
    const std::optional<FileEdit>& lastAppend() const { return lastAppend_; }
    const std::optional<FileFailure>& lastFailure() const { return lastFailure_; }

    // The month file of a month key, made when the month has none; absent
    // when it cannot be made.
    std::optional<QString> monthFilePath(const QString& monthKey);
    // Keeps the log in another folder from now on; nothing of the old one is
    // kept, the index included.
    void useFolder(const QString& folder);
    // Takes the writers' lock of the folder (see FolderLock).
    FolderLock lockFolder() const { return FolderLock(logsDir_.value_or(QString())); }

    // The log directory, "/", and the name.
    QString pathOf(const QString& fileName) const;

private:
    // The name of the punch month's file, creating the file when the month
    // has none; absent when it cannot be created.
    std::optional<QString> monthFileName(const QString& monthKey);
    void fail(const char* format, const QString& path, const QString& reason);
    void rebuildLogFileDic();
    void report(const char* format, const QString& path) const;

    std::optional<QString> logsDir_;
    std::optional<QString> logFilePath_;
    std::optional<MonthIndex> index_;
    ConflictIndex conflicts_;
    std::optional<FileEdit> lastAppend_;
    std::optional<FileFailure> lastFailure_;
    const Clock& clock_;
    LogSink log_;
};

} // namespace fennick
