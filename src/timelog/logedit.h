#pragma once

#include "platform/caldate.h"
#include "timelog/record.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace fennick {

// Editing a month file's record lines without touching any other byte:
// comments, lines that are no records, line ends (LF, CRLF, an unterminated
// last line) and 8-bit bytes that are not UTF-8 stay exactly as they were. A
// file that began with a UTF-16 byte-order mark is edited as UTF-8, as an
// append writes it.

// Where one record line lies in a file's bytes.
struct RecordLine {
    qsizetype start = 0;  // first byte of the line
    qsizetype length = 0; // up to, not including, its line end
    qsizetype end = 0;    // past its line end ("\n" or "\r\n"), or the file's end
    PunchKind kind = PunchKind::CheckIn;
    QString timeToken;
};

// The record lines of a file's bytes, in file order: exactly the lines that
// forEachRecord reads as records.
QList<RecordLine> recordLines(const QByteArray& fileBytes);

// The bytes of one record line, without its line end.
QByteArray lineOf(const QByteArray& fileBytes, const RecordLine& line);

// The file with record `index` removed, line end and all.
QByteArray withoutRecord(const QByteArray& fileBytes, const QList<RecordLine>& lines,
                         qsizetype index);
// The file with record `index` replaced by `newLine` (a record line without
// its line end); the old line end is kept.
QByteArray withRecordReplaced(const QByteArray& fileBytes, const QList<RecordLine>& lines,
                              qsizetype index, const QByteArray& newLine);
// The file with `newLine` (without line end) inserted as a record line before
// the first record whose time token is later than `timeToken`, or after the
// last record (at the file's end) when none is. An unterminated last line
// gets a line feed first; the new line ends the way the file's lines end.
QByteArray withRecordInserted(const QByteArray& fileBytes, const QList<RecordLine>& lines,
                              const QString& timeToken, const QByteArray& newLine);

// The bytes a file holds as written by fennick: a UTF-16 file as UTF-8,
// anything else as it is.
QByteArray editableBytes(const QByteArray& fileBytes);

} // namespace fennick
