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

// Where the log lives, in this order: the folder chosen in Preferences
// (`chosen`, "~" expanded); else an existing ~/Library/fennick, so earlier
// users keep their files where they are; else $XDG_DATA_HOME/fennick
// (~/.local/share/fennick when the variable is unset or not absolute).
// Never a translatable text: a language must not move the records. Nothing
// is created here.
QString resolveLogFolder(const QString& chosen, const QString& homeDir);

// Makes sure the log directory exists: creates it (mode 0700, any missing
// parents 0700 too) when nothing or something other than a directory stands
// there, and logs "fail to create Dir:%@." when that fails.
void ensureLogDirectory(const QString& path, const LogSink& log);

} // namespace fennick
