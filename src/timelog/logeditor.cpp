#include "timelog/logeditor.h"

#include "timelog/logedit.h"
#include "timelog/logfile.h"

#include <QCoreApplication>

namespace fennick {

namespace {

struct Located {
    QByteArray onDisk;
    QByteArray bytes; // as fennick writes them
    QList<RecordLine> lines;
};

// The file's bytes with the record still where and as the window saw it.
std::variant<Located, QString> locate(const RecordAt& record) {
    ReadFailure failure;
    const std::optional<LogFileText> file = readLogFile(record.path, &failure);
    if (!file)
        return QCoreApplication::translate("fennick::LogEditor", "%1 cannot be read: %2")
            .arg(record.path, failure.reason);
    Located found{file->bytes, editableBytes(file->bytes), {}};
    found.lines = recordLines(found.bytes);
    if (record.index >= found.lines.size() ||
        lineOf(found.bytes, found.lines[record.index]) != record.line)
        return QCoreApplication::translate("fennick::LogEditor",
                                           "%1 has changed since it was shown; nothing was "
                                           "changed.")
            .arg(record.path);
    return found;
}

QByteArray recordLine(const CalDate& written, PunchKind kind, const CalDate& time) {
    QString line = makeRecordLine(written, kind, time);
    line.chop(1); // the line end is the file's own
    return line.toLatin1();
}

QString writeFailure(const FileFailure& failure) {
    return QCoreApplication::translate("fennick::LogEditor", "%1 could not be written: %2")
        .arg(failure.path, failure.reason);
}

// Writes the edits; the original bytes of a file are what it held on disk.
LogEditor::Result written(LogStep step, const QList<QByteArray>& onDisk) {
    for (qsizetype i = 0; i < step.edits.size(); ++i)
        step.edits[i].before = onDisk[i];
    if (const std::optional<FileFailure> failure = writeEdits(step.edits, true))
        return writeFailure(*failure);
    return step;
}

QString describe(const char* text, PunchKind kind, const CalDate& time) {
    const QString what = kind == PunchKind::CheckIn
                             ? QCoreApplication::translate("fennick::LogEditor", "Check In")
                             : QCoreApplication::translate("fennick::LogEditor", "Check Out");
    return QCoreApplication::translate("fennick::LogEditor", text)
        .arg(what, time.format(CalFormat::Display).mid(11, 5));
}

// The file with a record's time changed. One that keeps its place among
// the records is rewritten where it stands, with its own line end (an
// unterminated last line stays so); one that passes a neighbour moves to
// where its new time belongs.
QByteArray retimed(const Located& here, qsizetype index, const QString& token,
                   const QByteArray& line) {
    // Its place as an insert would find it: before the first other record
    // with a later time.
    qsizetype place = 0;
    for (qsizetype i = 0; i < here.lines.size(); ++i) {
        if (i == index)
            continue;
        if (here.lines[i].timeToken > token)
            break;
        ++place;
    }
    if (place == index)
        return withRecordReplaced(here.bytes, here.lines, index, line);
    const QByteArray without = withoutRecord(here.bytes, here.lines, index);
    return withRecordInserted(without, recordLines(without), token, line);
}

std::optional<QByteArray> bytesOnDisk(const QString& path) {
    const std::optional<LogFileText> file = readLogFile(path);
    return file ? std::optional(file->bytes) : std::nullopt;
}

} // namespace

std::optional<ListedRecord> listedRecord(const QString& path, qsizetype index) {
    const std::optional<LogFileText> file = readLogFile(path);
    if (!file || index < 0)
        return std::nullopt;
    const QByteArray bytes = editableBytes(file->bytes);
    const QList<RecordLine> lines = recordLines(bytes);
    if (index >= lines.size())
        return std::nullopt;
    const RecordLine& line = lines[index];
    ListedRecord listed{
        RecordAt{path, index, lineOf(bytes, line)}, line.kind, line.timeToken, {}, {}};
    if (index > 0)
        listed.earlierToken = lines[index - 1].timeToken;
    if (index + 1 < lines.size())
        listed.laterToken = lines[index + 1].timeToken;
    return listed;
}

LogEditor::Result LogEditor::changeTime(const RecordAt& record, const CalDate& time) {
    auto found = locate(record);
    if (auto* refusal = std::get_if<QString>(&found))
        return *refusal;
    const Located& here = std::get<Located>(found);
    const RecordLine& old = here.lines[record.index];
    const QByteArray line = recordLine(clock_.now(), old.kind, time);
    LogStep step{
        describe(QT_TRANSLATE_NOOP("fennick::LogEditor", "Change %1 to %2"), old.kind, time),
        {},
        {}};
    const std::optional<QString> target = store_.monthFilePath(time.format(CalFormat::MonthKey));
    if (!target)
        return QCoreApplication::translate("fennick::LogEditor",
                                           "The month file for %1 cannot be made.")
            .arg(time.format(CalFormat::Display));
    if (*target == record.path) {
        step.edits = {FileEdit{
            record.path, {}, retimed(here, record.index, time.format(CalFormat::Compact), line)}};
        return written(step, {here.onDisk});
    }
    const QByteArray without = withoutRecord(here.bytes, here.lines, record.index);
    // Into another month: its file gets the record first, so a failure in
    // between can only leave a punch twice, never none, and is rolled back.
    const std::optional<QByteArray> other = bytesOnDisk(*target);
    if (!other)
        return writeFailure(FileFailure{*target, QStringLiteral("cannot be read")});
    const QByteArray otherBytes = editableBytes(*other);
    step.edits = {FileEdit{*target,
                           {},
                           withRecordInserted(otherBytes, recordLines(otherBytes),
                                              time.format(CalFormat::Compact), line)},
                  FileEdit{record.path, {}, without}};
    return written(step, {*other, here.onDisk});
}

LogEditor::Result LogEditor::remove(const RecordAt& record) {
    auto found = locate(record);
    if (auto* refusal = std::get_if<QString>(&found))
        return *refusal;
    const Located& here = std::get<Located>(found);
    const RecordLine& old = here.lines[record.index];
    const std::optional<CalDate> time = CalDate::parse(old.timeToken, CalFormat::Compact);
    LogStep step{
        time ? describe(QT_TRANSLATE_NOOP("fennick::LogEditor", "Delete %1 at %2"), old.kind, *time)
             : QCoreApplication::translate("fennick::LogEditor", "Delete Punch"),
        {FileEdit{record.path, {}, withoutRecord(here.bytes, here.lines, record.index)}},
        {}};
    return written(step, {here.onDisk});
}

LogEditor::Result LogEditor::insert(PunchKind kind, const CalDate& time) {
    const std::optional<QString> path = store_.monthFilePath(time.format(CalFormat::MonthKey));
    const std::optional<QByteArray> onDisk = path ? bytesOnDisk(*path) : std::nullopt;
    if (!onDisk)
        return QCoreApplication::translate("fennick::LogEditor",
                                           "The month file for %1 cannot be made or read.")
            .arg(time.format(CalFormat::Display));
    const QByteArray bytes = editableBytes(*onDisk);
    LogStep step{
        describe(QT_TRANSLATE_NOOP("fennick::LogEditor", "Insert %1 at %2"), kind, time),
        {FileEdit{*path,
                  {},
                  withRecordInserted(bytes, recordLines(bytes), time.format(CalFormat::Compact),
                                     recordLine(clock_.now(), kind, time))}},
        {}};
    return written(step, {*onDisk});
}

} // namespace fennick
