#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace fennick {

// A time log file as read from disk: its exact bytes and its text.
struct LogFileText {
    QByteArray bytes;
    QString text;
    bool utf16 = false; // a UTF-16 byte-order mark and text that decodes cleanly
};

// Text of a file's bytes: UTF-16 after a byte-order mark when the rest
// decodes cleanly, UTF-8 otherwise (a UTF-8 byte-order mark is dropped;
// invalid bytes read as U+FFFD).
QString decodeLogBytes(const QByteArray& bytes, bool* utf16 = nullptr);

// Why a file could not be read: the system's words for it, and whether the
// file is simply not there (which is no failure for a month without punches).
struct ReadFailure {
    QString reason;
    bool missing = false;
};

// Reads a whole regular file; absent when it cannot be opened or read (a
// directory, a FIFO or device, a missing file, an I/O error), and then
// `failure`, when given, says why.
std::optional<LogFileText> readLogFile(const QString& path, ReadFailure* failure = nullptr);

} // namespace fennick
