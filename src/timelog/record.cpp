#include "timelog/record.h"

namespace fennick {

QString makeRecordLine(const CalDate& written, PunchKind kind, const CalDate& punch) {
    QString line = written.format(CalFormat::Display);
    line += u'\t';
    line += kind == PunchKind::CheckIn ? kCheckInToken : kCheckOutToken;
    line += u'\t';
    line += punch.format(CalFormat::Compact);
    line += u'\n';
    return line;
}

} // namespace fennick
