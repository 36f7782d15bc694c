#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace fennick {

// True when anything at all is at the path: a file, a directory, a link (even
// one that points nowhere).
bool existsAt(const QString& path);

// Creates an empty file with mode 0600 and syncs its directory. Fails when
// anything is at the path already or the file cannot be made.
bool createEmptyFile(const QString& path);

// Replaces a regular file's contents with `bytes` so that, whatever happens,
// the file holds either its old or its new contents: the bytes go to a
// temporary file in the same directory, are synced, and the temporary file is
// renamed over the old one; then the directory is synced. A symbolic link is
// kept and its target replaced. The new file keeps the old one's mode. On
// failure the old file is untouched and no temporary file is left behind.
bool replaceFileContents(const QString& path, const QByteArray& bytes);

// Makes a new file (mode 0600) that holds `bytes`, as durably as
// replaceFileContents writes. Fails when anything is at the path already; on
// failure nothing is left there.
bool createFileWith(const QString& path, const QByteArray& bytes);

// Removes a file and syncs its directory, so that the removal lasts. True
// when nothing is at the path any more.
bool removeFile(const QString& path);

// The system calls through which replaceFileContents opens its temporary
// file, writes, syncs and renames. Tests put failing or counting ones in
// their place, so that a read-only or full disk or a failed sync can be met
// without mounting anything.
struct WriteCalls {
    int (*open)(const char* path, int flags, ...);
    ssize_t (*write)(int fd, const void* data, size_t size);
    int (*fsync)(int fd);
    int (*rename)(const char* from, const char* to);
};
// The POSIX calls.
WriteCalls systemWriteCalls();
// Puts `calls` in place for every later write; answers the ones it replaces.
WriteCalls setWriteCalls(const WriteCalls& calls);

// Whether replaceFileContents may use unnamed temporary files (on by default).
// Tests turn it off to exercise the named temporary files that file systems
// without unnamed ones get.
void allowUnnamedTempFiles(bool allowed);

} // namespace fennick
