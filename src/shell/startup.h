#pragma once

#include "platform/syslog.h"
#include "platform/version.h"

#include <QString>
#include <chrono>
#include <functional>
#include <optional>

namespace fennick {

// What start-up needs of the platform, so tests can answer for it.
struct StartupEnv {
    std::function<VersionAnswer()> version;
    std::function<void()> beep;
    std::function<void(std::chrono::milliseconds)> sleep;
    LogSink log;
    QString homeDir;
};

// Refuses to run: five beeps, each followed by a pause of 0.25 s, then the
// log line naming the Qt version built against. The caller quits afterwards.
void refuseToRun(const StartupEnv& env);

// "~" and "~/..." expanded into the home directory; other paths unchanged.
QString expandTilde(const QString& path, const QString& homeDir);

// The log directory: the localized "LogDirPath" with "~" expanded; absent
// when the table's entry is empty. Nothing is created here.
std::optional<QString> logDirectoryPath(const QString& homeDir);

// Makes sure the log directory exists: creates it (mode 0700, any missing
// parents 0700 too) when nothing or something other than a directory stands
// there, and logs "fail to create Dir:%@." when that fails.
void ensureLogDirectory(const QString& path, const LogSink& log);

} // namespace fennick
