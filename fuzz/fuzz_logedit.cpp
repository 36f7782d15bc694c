// Feeds arbitrary bytes, as a month file, through the byte-level record
// editing, and checks that an edit never touches a byte it should not: the
// record lines found are exactly the records the reader sees, taking one out
// removes just its line, and putting a new one in adds just one record.
//
// Input layout: byte 0 picks which record to take out, the rest is the file.

#include "timelog/logedit.h"
#include "timelog/logfile.h"

#include <QByteArray>

#include <cstdio>
#include <cstdlib>

using namespace fennick;

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_logedit: %s\n", what);
        std::abort();
    }
}

qsizetype readerRecords(const QByteArray& bytes) {
    qsizetype count = 0;
    forEachRecord(decodeLogBytes(bytes), [&](const Record&) { ++count; });
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const QByteArray bytes =
        editableBytes(QByteArray(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)));
    const QList<RecordLine> lines = recordLines(bytes);
    check(lines.size() == readerRecords(bytes), "the line scan and the reader disagree");
    for (const RecordLine& line : lines) {
        check(line.start >= 0 && line.start + line.length <= line.end && line.end <= bytes.size(),
              "record line outside the file");
        check(line.timeToken.size() > 0, "record line without a time token");
    }
    // A byte-order mark inside the file is a character where it stands, but
    // the file's own mark when its line comes to the file's start, as for
    // the reader: there an edit may change how the line next to it reads.
    const bool markInside = bytes.indexOf("\xEF\xBB\xBF", 1) >= 0;
    const QByteArray newLine = "2024/03/15 09:00:00\tCheckIn:\t20240315090000";
    const QByteArray inserted = withRecordInserted(bytes, lines, "20240315090000", newLine);
    check(markInside || recordLines(inserted).size() == lines.size() + 1,
          "an insert added other than one record");
    check(inserted.contains(newLine), "the inserted line is missing");
    if (lines.isEmpty())
        return 0;
    const qsizetype index = data[0] % lines.size();
    const RecordLine& gone = lines[index];
    const QByteArray removed = withoutRecord(bytes, lines, index);
    check(removed == bytes.left(gone.start) + bytes.mid(gone.end), "a removal changed other bytes");
    check(markInside || recordLines(removed).size() == lines.size() - 1,
          "a removal took other than one record");
    return 0;
}
