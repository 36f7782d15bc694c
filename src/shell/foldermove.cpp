#include "shell/foldermove.h"

#include "platform/privatefs.h"
#include "timelog/fileops.h"
#include "timelog/folderlock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace fennick {

class FolderMoveText {
    Q_DECLARE_TR_FUNCTIONS(fennick::FolderMoveText)
};

namespace {

// Conflict copies made in the same second get the next free second.
constexpr int kConflictAttempts = 60;

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

// Puts back the choice as it was before a failed switch.
void restoreChoice(Settings& settings, const QString& chosen) {
    if (chosen.isEmpty())
        settings.remove(kLogFolderKey);
    else
        settings.setString(kLogFolderKey, chosen);
    settings.synchronize();
}

FileFailure failureAt(const QString& path, int error) {
    return FileFailure{path, QString::fromLocal8Bit(std::strerror(error))};
}

// A new or removed entry is durable only once its directory is synced.
void syncFolder(const QString& dir) {
    const int fd = ::open(native(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

bool holdsBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll() == bytes &&
           file.error() == QFile::NoError;
}

// Renames without ever replacing what is at `to`.
bool renameNoReplace(const QString& from, const QString& to) {
    if (::renameat2(AT_FDCWD, native(from).constData(), AT_FDCWD, native(to).constData(),
                    RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the flag: fennick's own writers are kept out by
    // the lock meanwhile, so a look first does.
    if (existsAt(to)) {
        errno = EEXIST;
        return false;
    }
    return ::rename(native(from).constData(), native(to).constData()) == 0;
}

// The files fennick keeps in a log folder besides its lock: the month files
// and the conflict copies sync tools make of them, or links to such files.
QStringList logFilesIn(const QString& dir) {
    return QDir(dir).entryList({QStringLiteral("TLOG*.txt")}, QDir::Files | QDir::CaseSensitive,
                               QDir::Name);
}

// The path with its links resolved as far as it exists, the rest appended.
QString resolvedPath(const QString& path) {
    QString existing = QDir::cleanPath(QDir(path).absolutePath());
    QString rest;
    while (!QFileInfo::exists(existing) && existing != u"/") {
        rest.prepend(u'/' + QFileInfo(existing).fileName());
        existing = QFileInfo(existing).path();
    }
    const QString real = QFileInfo(existing).canonicalFilePath();
    return QDir::cleanPath((real.isEmpty() ? existing : real) + rest);
}

// One moved file: its copy in the new folder holds the same bytes.
struct Placed {
    QString source;
    QString copy;
    bool written; // made by this move, so a failure removes it again
};

class Move {
public:
    Move(Settings& settings, const QString& from, const QString& to, const Clock& clock)
        : settings_(settings), from_(QDir::cleanPath(from)), to_(QDir::cleanPath(to)),
          clock_(clock), chosen_(settings.stringForKey(kLogFolderKey)) {}

    FolderMove run() {
        oldLock_ = FolderLock(from_);
        std::optional<FileFailure> failure = prepare();
        for (const QString& name : failure ? QStringList() : logFilesIn(from_)) {
            if ((failure = place(name)))
                break;
        }
        if (!failure)
            failure = switchSetting();
        if (failure) {
            rollBack();
            return FolderMove{false, failure};
        }
        return FolderMove{true, removeOld(), madeConflictCopies_};
    }

private:
    std::optional<FileFailure> prepare() {
        if (isSameOrInside(to_, from_))
            return FileFailure{
                to_, FolderMoveText::tr("the new folder is the old one or lies inside it")};
        // With no folder chosen, making the new one (~/Library/fennick, say)
        // could change where a new start looks before the switch: the folder
        // in use is written down first.
        if (chosen_.trimmed().isEmpty()) {
            pinned_ = true;
            if (auto failure = writeSetting(from_))
                return failure;
        }
        madeTarget_ = !existsAt(to_);
        if (!makePrivateDirs(to_))
            return failureAt(to_, errno);
        madeLock_ = !existsAt(lockPath());
        newLock_ = FolderLock(to_);
        return std::nullopt;
    }

    QString lockPath() const { return to_ + u'/' + QLatin1String(FolderLock::kFileName); }

    std::optional<FileFailure> place(const QString& name) {
        const QString source = from_ + u'/' + name;
        QFile in(source);
        if (!in.open(QIODevice::ReadOnly))
            return FileFailure{source, in.errorString()};
        const QByteArray bytes = in.readAll();
        if (in.error() != QFile::NoError)
            return FileFailure{source, in.errorString()};
        QString target = name;
        for (int attempt = 0; attempt <= kConflictAttempts; ++attempt) {
            const QString path = to_ + u'/' + target;
            if (!existsAt(path)) {
                madeConflictCopies_ = madeConflictCopies_ || target != name;
                return write(source, path, bytes);
            }
            if (holdsBytes(path, bytes)) {
                placed_.append(Placed{source, path, false});
                return std::nullopt;
            }
            target =
                movedConflictName(name, CalDate::fromInstant(clock_.now().instant() + attempt));
        }
        return FileFailure{to_ + u'/' + target,
                           FolderMoveText::tr("its name is taken in the new folder")};
    }

    // Written under a hidden name first, so a kill never leaves a partial
    // file under a time log name; a stray one is cleared on the next move.
    std::optional<FileFailure> write(const QString& source, const QString& path,
                                     const QByteArray& bytes) {
        const QString staging =
            to_ + QStringLiteral("/.") + QFileInfo(path).fileName() + QStringLiteral(".moving");
        ::unlink(native(staging).constData());
        if (!createEmptyFile(staging) || !replaceFileContents(staging, bytes) ||
            !renameNoReplace(staging, path)) {
            const int error = errno;
            ::unlink(native(staging).constData());
            return failureAt(path, error);
        }
        syncFolder(to_);
        placed_.append(Placed{source, path, true});
        if (!holdsBytes(path, bytes))
            return FileFailure{path, FolderMoveText::tr("the copy reads back differently")};
        return std::nullopt;
    }

    std::optional<FileFailure> writeSetting(const QString& value) {
        settings_.setString(kLogFolderKey, value);
        if (settings_.synchronize())
            return std::nullopt;
        return FileFailure{settings_.fileName(),
                           FolderMoveText::tr("the settings could not be written")};
    }

    std::optional<FileFailure> switchSetting() { return writeSetting(to_); }

    std::optional<FileFailure> removeOld() {
        std::optional<FileFailure> failure;
        for (const Placed& file : placed_) {
            if (::unlink(native(file.source).constData()) != 0 && !failure)
                failure = failureAt(file.source, errno);
        }
        syncFolder(from_);
        return failure;
    }

    void rollBack() {
        for (const Placed& file : placed_) {
            if (file.written)
                ::unlink(native(file.copy).constData());
        }
        syncFolder(to_);
        newLock_.release();
        if (madeLock_)
            ::unlink(native(lockPath()).constData());
        if (madeTarget_)
            ::rmdir(native(to_).constData());
        if (pinned_ || settings_.stringForKey(kLogFolderKey) != chosen_)
            restoreChoice(settings_, chosen_);
    }

    Settings& settings_;
    const QString from_;
    const QString to_;
    const Clock& clock_;
    const QString chosen_;
    FolderLock oldLock_;
    FolderLock newLock_;
    bool pinned_ = false;
    bool madeTarget_ = false;
    bool madeLock_ = false;
    bool madeConflictCopies_ = false;
    QList<Placed> placed_;
};

} // namespace

QString movedConflictName(const QString& name, const CalDate& when) {
    static const QRegularExpression month(QStringLiteral("^TLOG\\d{6}"));
    const QRegularExpressionMatch found = month.match(name);
    const QString stem = found.hasMatch() ? found.captured() : QFileInfo(name).completeBaseName();
    const QString time = when.format(CalFormat::Compact);
    return stem + QStringLiteral(".sync-conflict-") + time.left(8) + u'-' + time.mid(8) +
           QStringLiteral("-FENNICK.txt");
}

bool isSameOrInside(const QString& inner, const QString& outer) {
    const QString in = resolvedPath(inner);
    const QString out = resolvedPath(outer);
    return in == out || in.startsWith(out.endsWith(u'/') ? out : out + u'/');
}

FolderMove moveLogFolder(Settings& settings, const QString& from, const QString& to,
                         const Clock& clock) {
    return Move(settings, from, to, clock).run();
}

std::optional<FileFailure> useLogFolder(Settings& settings, const QString& to) {
    const QString chosen = settings.stringForKey(kLogFolderKey);
    settings.setString(kLogFolderKey, QDir::cleanPath(to));
    if (settings.synchronize())
        return std::nullopt;
    restoreChoice(settings, chosen);
    return FileFailure{settings.fileName(),
                       FolderMoveText::tr("the settings could not be written")};
}

} // namespace fennick
