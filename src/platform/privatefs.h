#pragma once

#include <QString>

namespace fennick {

// Folders and files that only their user may reach, made with explicit modes
// so that the user's umask (000 included) cannot open them to others.

// Makes every missing folder of `path` with mode 0700; folders that exist are
// left as they are. True when `path` is a directory afterwards.
bool makePrivateDirs(const QString& path);

// Makes an empty file with mode 0600 when nothing stands at `path`. True when
// a file is there afterwards.
bool makePrivateFile(const QString& path);

// True when `path` is a directory, not a symbolic link, owned by this user
// and closed to everybody else (no group or other bits).
bool isOwnPrivateDir(const QString& path);

} // namespace fennick
