#include "timelog/logedit.h"

#include "timelog/logfile.h"

#include <QStringDecoder>

namespace fennick {

namespace {

constexpr QByteArrayView kUtf8Mark = "\xEF\xBB\xBF";

// The record a single line holds, read by the same rules as a whole text.
std::optional<Record> recordIn(QStringView line) {
    std::optional<Record> found;
    forEachRecord(line, [&](const Record& record) { found = record; });
    return found;
}

// How the file's lines end: CRLF when its first line does, LF otherwise.
QByteArrayView lineEndOf(const QByteArray& fileBytes) {
    const qsizetype lf = fileBytes.indexOf('\n');
    return lf > 0 && fileBytes[lf - 1] == '\r' ? QByteArrayView("\r\n") : QByteArrayView("\n");
}

} // namespace

QByteArray editableBytes(const QByteArray& fileBytes) {
    bool utf16 = false;
    const QString text = decodeLogBytes(fileBytes, &utf16);
    return utf16 ? text.toUtf8() : fileBytes;
}

QList<RecordLine> recordLines(const QByteArray& fileBytes) {
    QList<RecordLine> lines;
    // A UTF-8 byte-order mark is no part of the first line's text. Further
    // lines are decoded as the whole text is: a mark at their start is a
    // character like any other there.
    const qsizetype first = fileBytes.startsWith(kUtf8Mark) ? kUtf8Mark.size() : 0;
    qsizetype start = first;
    QStringDecoder keepingMarks(QStringConverter::Utf8,
                                QStringConverter::Flag::Stateless |
                                    QStringConverter::Flag::ConvertInitialBom);
    while (start < fileBytes.size()) {
        const qsizetype lf = fileBytes.indexOf('\n', start);
        const qsizetype end = lf < 0 ? fileBytes.size() : lf + 1;
        qsizetype length = (lf < 0 ? fileBytes.size() : lf) - start;
        if (length > 0 && fileBytes[start + length - 1] == '\r')
            --length;
        const QByteArrayView bytes(fileBytes.constData() + start, length);
        const QString text =
            start == first ? QString::fromUtf8(bytes) : QString(keepingMarks.decode(bytes));
        if (const std::optional<Record> record = recordIn(text))
            lines.append(
                RecordLine{start, length, end, record->kind, record->timeToken.toString()});
        start = end;
    }
    return lines;
}

QByteArray lineOf(const QByteArray& fileBytes, const RecordLine& line) {
    return fileBytes.mid(line.start, line.length);
}

QByteArray withoutRecord(const QByteArray& fileBytes, const QList<RecordLine>& lines,
                         qsizetype index) {
    const RecordLine& line = lines.at(index);
    QByteArray bytes = fileBytes;
    bytes.remove(line.start, line.end - line.start);
    return bytes;
}

QByteArray withRecordReplaced(const QByteArray& fileBytes, const QList<RecordLine>& lines,
                              qsizetype index, const QByteArray& newLine) {
    const RecordLine& line = lines.at(index);
    QByteArray bytes = fileBytes;
    bytes.replace(line.start, line.length, newLine);
    return bytes;
}

QByteArray withRecordInserted(const QByteArray& fileBytes, const QList<RecordLine>& lines,
                              const QString& timeToken, const QByteArray& newLine) {
    const QByteArrayView lineEnd = lineEndOf(fileBytes);
    for (const RecordLine& line : lines) {
        if (line.timeToken > timeToken) {
            QByteArray bytes = fileBytes;
            bytes.insert(line.start, newLine + lineEnd.toByteArray());
            return bytes;
        }
    }
    QByteArray bytes = fileBytes;
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        bytes += lineEnd;
    return bytes + newLine + lineEnd.toByteArray();
}

} // namespace fennick
