#pragma once

#include <QString>

namespace fennick {

// The XDG autostart entry that starts fennick with the session, into the
// tray: $XDG_CONFIG_HOME/autostart (~/.config/autostart when the variable is
// unset or not absolute) under `homeDir`.
QString autostartFilePath(const QString& homeDir);

bool autostartEnabled(const QString& homeDir);

// Writes or removes the entry; the folder is made 0700 when missing. False
// when the file could not be written or removed; nothing is changed then.
bool setAutostart(const QString& homeDir, bool enabled);

} // namespace fennick
