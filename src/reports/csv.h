#pragma once

#include "reports/mydspdata.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace fennick {

// A report table as comma-separated values (RFC 4180): one record per line,
// every line ending in CR LF, and a field quoted, its quotes doubled, when it
// holds a comma, a quote, a CR or a LF. The headings make the first record
// (none when empty); each row gives two fields; a total line such as
// "Monthly sum: \t012:30:00" makes the last record, split at its first tab
// into label and value. Encode the result as UTF-8 when writing it out.
QString toCsv(const QStringList& headings, const DspRows& rows,
              const std::optional<QString>& totalLine);

// Rows as tab-separated text for the clipboard: one line a row, each ending
// in LF; a tab or line break inside a field becomes a space, so every line
// keeps its fields.
QString toTabSeparated(const QList<QStringList>& rows);

// One field, quoted only where it must be.
QString csvField(const QString& text);

} // namespace fennick
