#pragma once

#include "platform/caldate.h"

#include <QString>
#include <QStringView>

namespace fennick {

enum class PunchKind { CheckIn, CheckOut };

inline constexpr QStringView kCheckInToken = u"CheckIn:";
inline constexpr QStringView kCheckOutToken = u"CheckOut:";

// One record line of a time log file: the writing time, a tab, the kind
// token, a tab, the punch time as a compact timestamp and a line feed.
QString makeRecordLine(const CalDate& written, PunchKind kind, const CalDate& punch);

// The whitespace that separates lines and tokens: space, tab, line feed,
// vertical tab, form feed, carriage return, next line (U+0085) and the
// Unicode space, line and paragraph separators.
inline bool isScannerSpace(char16_t c) {
    if (c <= u' ')
        return (0x1'0000'3E00ull >> c) & 1; // tab, line feed, vt, form feed, cr, space
    if (c < 0x80)
        return false;
    if (c == 0x85 || c == 0xA0)
        return true;
    const QChar::Category cat = QChar(c).category();
    return cat == QChar::Separator_Space || cat == QChar::Separator_Line ||
           cat == QChar::Separator_Paragraph;
}

struct Record {
    PunchKind kind;
    QStringView timeToken;
};

// Walks the record lines of a text in file order and hands each one's kind
// and time token to onRecord. A line is what follows leading whitespace up to
// the next line feed; lines starting with "#" are comments; a record has at
// least four tokens and a third token that is exactly "CheckIn:" or
// "CheckOut:". Every other line is passed over; tokens after the fourth are
// ignored.
template <typename OnRecord> void forEachRecord(QStringView text, OnRecord&& onRecord) {
    const qsizetype n = text.size();
    const char16_t* data = text.utf16();
    qsizetype pos = 0;
    while (true) {
        while (pos < n && isScannerSpace(data[pos]))
            ++pos;
        if (pos >= n)
            return;
        qsizetype end = text.indexOf(u'\n', pos);
        if (end < 0)
            end = n;
        const qsizetype lineStart = pos;
        pos = end;
        if (data[lineStart] == u'#')
            continue;
        QStringView tokens[4];
        int count = 0;
        qsizetype i = lineStart;
        while (count < 4) {
            while (i < end && isScannerSpace(data[i]))
                ++i;
            if (i >= end)
                break;
            const qsizetype tokenStart = i;
            while (i < end && !isScannerSpace(data[i]))
                ++i;
            tokens[count++] = text.sliced(tokenStart, i - tokenStart);
        }
        if (count < 4)
            continue;
        if (tokens[2] == kCheckInToken)
            onRecord(Record{PunchKind::CheckIn, tokens[3]});
        else if (tokens[2] == kCheckOutToken)
            onRecord(Record{PunchKind::CheckOut, tokens[3]});
    }
}

} // namespace fennick
