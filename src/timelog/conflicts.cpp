#include "timelog/conflicts.h"

#include "timelog/logedit.h"
#include "timelog/logfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace fennick {

namespace {

constexpr QStringView kPrefix = u"TLOG";
constexpr qsizetype kKeyLength = 6;
constexpr QByteArrayView kUtf8Mark = "\xEF\xBB\xBF";

// What the sync tools put after the month part of the name.
const QRegularExpression& copySuffix() {
    static const QRegularExpression suffix(
        QStringLiteral("^(?:\\.sync-conflict-[0-9]{8}-[0-9]{6}-[A-Za-z0-9]+"
                       "| \\((?:[^()\\x00-\\x1f]+['\u2019]s )?conflicted copy "
                       "[0-9]{4}-[0-9]{2}-[0-9]{2}(?: [0-9]{6})?\\)"
                       "|_conflict-[0-9]{8}-[0-9]{6})\\.txt$"));
    return suffix;
}

// A line of a file: its text, its line end ("\n", "\r\n" or none for an
// unterminated last line) and whether it is a record.
struct Line {
    QByteArray text;
    QByteArray end;
    bool record = false;
};

QList<Line> linesOf(const QByteArray& bytes) {
    QSet<qsizetype> recordStarts;
    for (const RecordLine& line : recordLines(bytes))
        recordStarts.insert(line.start);
    QList<Line> lines;
    qsizetype start = bytes.startsWith(kUtf8Mark) ? kUtf8Mark.size() : 0;
    while (start < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', start);
        const qsizetype end = lf < 0 ? bytes.size() : lf + 1;
        qsizetype length = (lf < 0 ? bytes.size() : lf) - start;
        if (length > 0 && bytes[start + length - 1] == '\r')
            --length;
        lines.append(Line{bytes.mid(start, length), bytes.mid(start + length, end - start - length),
                          recordStarts.contains(start)});
        start = end;
    }
    return lines;
}

// The lines of a file that are neither records nor blank, trimmed.
QList<QByteArray> otherLines(const QList<Line>& lines) {
    QList<QByteArray> others;
    for (const Line& line : lines) {
        if (!line.record && !line.text.trimmed().isEmpty())
            others.append(line.text.trimmed());
    }
    return others;
}

// The lines of the later lists beyond those of the first: each line as
// often as the list holding it most often has it.
QList<QByteArray> linesBeyondFirst(const QList<QList<QByteArray>>& lists) {
    QHash<QByteArray, qsizetype> counted;
    for (const QByteArray& line : lists.value(0))
        ++counted[line];
    QList<QByteArray> beyond;
    for (qsizetype i = 1; i < lists.size(); ++i) {
        QHash<QByteArray, qsizetype> seen;
        for (const QByteArray& line : lists[i]) {
            if (++seen[line] > counted.value(line)) {
                counted[line] = seen[line];
                beyond.append(line);
            }
        }
    }
    return beyond;
}

QByteArray lineEndOf(const QByteArray& bytes) {
    const qsizetype lf = bytes.indexOf('\n');
    return lf > 0 && bytes[lf - 1] == '\r' ? QByteArray("\r\n") : QByteArray("\n");
}

// Appends lines to a file's bytes; a line left without its end gets one
// before the next.
class LineWriter {
public:
    LineWriter(QByteArray start, QByteArray lineEnd)
        : bytes_(std::move(start)), lineEnd_(std::move(lineEnd)) {}
    void put(const QByteArray& text, const QByteArray& end) {
        if (open_)
            bytes_ += lineEnd_;
        bytes_ += text + end;
        open_ = end.isEmpty();
    }
    void put(const QByteArray& text) { put(text, lineEnd_); }
    const QByteArray& bytes() const { return bytes_; }

private:
    QByteArray bytes_;
    QByteArray lineEnd_;
    bool open_ = false;
};

struct MonthMerge {
    QList<FileEdit> monthEdits; // none when the month file stays as it is
    QList<FileEdit> removals;
};

// The edits that merge one month's copies, or why not.
std::variant<MonthMerge, QString> planMonth(const LogFolder& folder, const QString& key) {
    const QString monthPath =
        folder.monthFile(key).value_or(QStringLiteral("%1/TLOG%2.txt").arg(*folder.path, key));
    ReadFailure why;
    const std::optional<LogFileText> month = readLogFile(monthPath, &why);
    if (!month && !why.missing)
        return QCoreApplication::translate("fennick::Conflicts",
                                           "%1 cannot be read: %2; nothing was merged.")
            .arg(monthPath, why.reason);
    MonthMerge merge;
    QList<QByteArray> copies;
    for (const QString& path : folder.conflictCopies(key)) {
        const std::optional<LogFileText> copy = readLogFile(path, &why);
        if (!copy && why.missing)
            continue; // gone meanwhile: nothing left to merge from it
        if (!copy)
            return QCoreApplication::translate("fennick::Conflicts",
                                               "%1 cannot be read: %2; nothing was merged.")
                .arg(path, why.reason);
        copies.append(copy->bytes);
        merge.removals.append(FileEdit{path, copy->bytes, {}, false, true});
    }
    const QByteArray before = month ? month->bytes : QByteArray();
    const QByteArray after = mergedMonthBytes(before, copies);
    if (!month || after != before)
        merge.monthEdits.append(FileEdit{monthPath, before, after, !month, false});
    return merge;
}

} // namespace

std::optional<QString> conflictMonthKey(const QString& name) {
    const qsizetype keyEnd = kPrefix.size() + kKeyLength;
    if (name.size() <= keyEnd || !name.startsWith(kPrefix))
        return std::nullopt;
    for (qsizetype i = kPrefix.size(); i < keyEnd; ++i) {
        if (!name[i].isDigit())
            return std::nullopt;
    }
    if (!copySuffix().match(QStringView(name).sliced(keyEnd)).hasMatch())
        return std::nullopt;
    return name.mid(kPrefix.size(), kKeyLength);
}

ConflictIndex scanConflictCopies(const std::optional<QString>& folder) {
    ConflictIndex copies;
    if (!folder || folder->isEmpty())
        return copies;
    const QStringList names = QDir(*folder).entryList(QDir::AllEntries | QDir::Hidden |
                                                      QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        if (const std::optional<QString> key = conflictMonthKey(name))
            copies[*key].append(name);
    }
    for (QStringList& list : copies)
        list.sort();
    return copies;
}

QList<UnitedRecord> unitedRecords(const QList<QByteArray>& files) {
    QList<UnitedRecord> united;
    QHash<QByteArray, qsizetype> counted;
    for (const QByteArray& bytes : files) {
        QHash<QByteArray, qsizetype> seen;
        for (const RecordLine& line : recordLines(bytes)) {
            const QByteArray text = lineOf(bytes, line).trimmed();
            if (++seen[text] > counted.value(text)) {
                counted[text] = seen[text];
                united.append(UnitedRecord{text, line.timeToken});
            }
        }
    }
    std::stable_sort(
        united.begin(), united.end(),
        [](const UnitedRecord& a, const UnitedRecord& b) { return a.timeToken < b.timeToken; });
    return united;
}

MonthRead readMonth(const LogFolder& folder, const QString& monthKey) {
    MonthRead month;
    const QStringList copies = folder.conflictCopies(monthKey);
    QStringList paths = copies;
    if (const std::optional<QString> file = folder.monthFile(monthKey))
        paths.prepend(*file);
    QList<QByteArray> files;
    for (const QString& path : paths) {
        ReadFailure why;
        const std::optional<LogFileText> file = readLogFile(path, &why);
        if (!file) {
            if (!why.missing)
                month.unreadable.append(FileFailure{path, why.reason});
            continue;
        }
        if (copies.isEmpty()) {
            month.text = file->text;
            return month;
        }
        files.append(editableBytes(file->bytes));
    }
    if (files.isEmpty())
        return month;
    QString text;
    for (const UnitedRecord& record : unitedRecords(files))
        text += QString::fromUtf8(record.line) + u'\n';
    month.text = text;
    return month;
}

QByteArray mergedMonthBytes(const QByteArray& monthFile, const QList<QByteArray>& copies) {
    const QByteArray month = editableBytes(monthFile);
    const QList<Line> lines = linesOf(month);
    QList<QByteArray> files{month};
    QList<QList<QByteArray>> others{otherLines(lines)};
    for (const QByteArray& copy : copies) {
        files.append(editableBytes(copy));
        others.append(otherLines(linesOf(files.last())));
    }
    const QList<UnitedRecord> records = unitedRecords(files);
    qsizetype lastRecord = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].record)
            lastRecord = i;
    }
    LineWriter out(month.startsWith(kUtf8Mark) ? kUtf8Mark.toByteArray() : QByteArray(),
                   lineEndOf(month));
    qsizetype next = 0;
    const auto putRecordsLeft = [&] {
        while (next < records.size())
            out.put(records[next++].line);
    };
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        // A record that stays in its place keeps its own bytes.
        const QByteArray& record = line.record ? records[next++].line : line.text;
        out.put(line.text.trimmed() == record ? line.text : record, line.end);
        if (i == lastRecord)
            putRecordsLeft();
    }
    putRecordsLeft();
    for (const QByteArray& other : linesBeyondFirst(others))
        out.put(other);
    return out.bytes();
}

std::variant<LogStep, QString> mergeConflictCopies(const LogFolder& folder) {
    LogStep step{
        QCoreApplication::translate("fennick::Conflicts", "Merge Conflict Copies"), {}, {}};
    QList<FileEdit> removals;
    for (auto it = folder.conflicts.cbegin(); it != folder.conflicts.cend(); ++it) {
        auto planned = planMonth(folder, it.key());
        if (const QString* refusal = std::get_if<QString>(&planned))
            return *refusal;
        const MonthMerge& merge = std::get<MonthMerge>(planned);
        step.edits += merge.monthEdits;
        removals += merge.removals;
    }
    // Every merged month file is on disk before the first copy goes.
    step.edits += removals;
    if (const std::optional<FileFailure> failure = writeEdits(step.edits, true))
        return QCoreApplication::translate("fennick::Conflicts",
                                           "%1 could not be written: %2; nothing was merged.")
            .arg(failure->path, failure->reason);
    return step;
}

} // namespace fennick
