#pragma once

#include "platform/clock.h"
#include "platform/syslog.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace fennick {

// What the terminal reports need of the outside world, so tests can run them
// without a display, with a fixed time and a home of their own.
struct CliEnv {
    const Clock& clock;
    QString homeDir;      // where "~" in the log directory's path points
    QString settingsPath; // empty: the application's per-user settings file
    LogSink log = {};     // the store's log lines; empty: the system log
};

// Exit statuses.
inline constexpr int kCliOk = 0;
inline constexpr int kCliOutputFailed = 1;
// A month file could not be read; what could be read was printed.
inline constexpr int kCliUnreadable = 1;
// A punch could not be written; nothing changed.
inline constexpr int kCliWriteFailed = 1;
inline constexpr int kCliUsage = 2;

// Runs one terminal command; `args` are the words after the program name.
// The reports and the status only read: they never create the log directory,
// a month file or the settings; the punch commands write as the buttons do.
// Bad arguments and refused punches give one line on `err` and kCliUsage.
int runCli(const QStringList& args, QTextStream& out, QTextStream& err, const CliEnv& env);

// runCli on stdout and stderr with the system clock, the user's home and the
// application's settings; for main(), under a QCoreApplication.
int runCliMain(const QStringList& args);

QString cliUsage();

} // namespace fennick
