#pragma once

#include "timelog/loghistory.h"
#include "timelog/store.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>
#include <variant>

namespace fennick {

// Conflict copies: when two machines change a month file at once, a
// file-sync tool keeps one version and saves the other beside it, as
// "TLOG202403.sync-conflict-20240315-101010-ABCDEFG.txt" (Syncthing),
// "TLOG202403 (Laptop's conflicted copy 2024-03-15).txt" (Dropbox),
// "TLOG202403 (conflicted copy 2024-03-15 101010).txt" or
// "TLOG202403_conflict-20240315-101010.txt" (Nextcloud, ownCloud). Until
// they are merged, a month's records are those of its file and its copies
// together, each record line counted once.

// The month key of a conflict copy's name, its month part read as the month
// index reads a month file's name ("TLOG", six digits, case as written);
// absent for any other name.
std::optional<QString> conflictMonthKey(const QString& name);

// The conflict copies in a folder's listing now; empty without a folder.
ConflictIndex scanConflictCopies(const std::optional<QString>& folder);

// One record line, without its line end and the whitespace around it.
struct UnitedRecord {
    QByteArray line;
    QString timeToken;
};

// The record lines of several files of one month (their bytes as fennick
// writes them), each distinct line as often as the file holding it most
// often has it, ordered by time token and, among equal tokens, by file and
// place.
QList<UnitedRecord> unitedRecords(const QList<QByteArray>& files);

// A month read from its file and its conflict copies. Without copies the
// text is the month file's own; with them, the united record lines.
struct MonthRead {
    std::optional<QString> text;   // absent when no file of the month could be read
    QList<FileFailure> unreadable; // files there that could not be read
};
MonthRead readMonth(const LogFolder& folder, const QString& monthKey);

// The month file with its copies' records merged in (as UTF-8, like every
// rewrite). The records, ordered by time token, take the places of the month
// file's record lines one after another, and those left over follow the last
// of them; comments and other lines keep their places among the month file's
// lines, and those found only in a copy are added at the end.
QByteArray mergedMonthBytes(const QByteArray& monthFile, const QList<QByteArray>& copies);

// Merges the conflict copies of every month of the folder into its month
// file (made where the month has none) and then removes them, as one undo
// step. The caller holds the folder's lock. Answers the step, without edits
// when there was nothing to merge, or why every file was left as it was.
std::variant<LogStep, QString> mergeConflictCopies(const LogFolder& folder);

} // namespace fennick
