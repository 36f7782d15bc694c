#pragma once

#include <QString>
#include <functional>

namespace fennick {

// Writes one line to stderr and to syslog(3).
void writeSystemLog(const QString& line);

using LogSink = std::function<void(const QString&)>;

// Replaces "%@" in one of the system's log line formats with a path; a missing
// path reads "(none)".
QString logLine(const char* format, const QString& path);

} // namespace fennick
