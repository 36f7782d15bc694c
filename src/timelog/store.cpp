#include "timelog/store.h"

#include "timelog/conflicts.h"
#include "timelog/fileops.h"
#include "timelog/logfile.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <sys/stat.h>

namespace fennick {
namespace {

constexpr char kCreationFailed[] = "File:%@ creation failed.";
constexpr char kCannotRead[] = "File:%@ can not read.";
constexpr char kWriteError[] = "File:%@ write error!";

// Names are measured against the name of the file of February 2004.
constexpr QStringView kNameTemplate = u"TLOG200402.txt";
constexpr qsizetype kPrefixLength = 4; // "TLOG"
constexpr qsizetype kKeyLength = 6;    // "%Y%m"

QStringView pathExtension(QStringView name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QStringView() : name.sliced(dot + 1);
}

// The month key of a time log file name: the name has the template's length,
// its "TLOG" prefix and its extension, and past "TLOG" (and any whitespace)
// the run of decimal digits is exactly six long.
std::optional<QString> monthKeyOfName(const QString& name) {
    if (name.size() != kNameTemplate.size() ||
        QStringView(name).first(kPrefixLength) != kNameTemplate.first(kPrefixLength) ||
        pathExtension(name) != pathExtension(kNameTemplate))
        return std::nullopt;
    qsizetype i = kPrefixLength;
    while (i < name.size() && isScannerSpace(name[i].unicode()))
        ++i;
    const qsizetype start = i;
    while (i < name.size() && name[i].isDigit())
        ++i;
    if (i - start != kKeyLength)
        return std::nullopt;
    return name.mid(start, kKeyLength);
}

bool isDirectory(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Every entry name of a directory, of any kind; none when it cannot be listed.
QStringList listDirectory(const QString& path) {
    QStringList names;
    DIR* dir = ::opendir(QFile::encodeName(path).constData());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.append(QFile::decodeName(name));
    }
    ::closedir(dir);
    return names;
}

// The file's bytes with the record line added. Bytes of an 8-bit file are
// kept exactly as they are; a UTF-16 file is written back as UTF-8. A last
// line without a line feed gets one first, so the record stands on its own.
QByteArray appendedBytes(const LogFileText& file, const QString& line) {
    QByteArray bytes = file.utf16 ? file.text.toUtf8() : file.bytes;
    if (!file.text.isEmpty() && !file.text.endsWith(u'\n'))
        bytes += '\n';
    bytes += line.toLatin1();
    return bytes;
}

} // namespace

TimeLogStore::TimeLogStore(std::optional<QString> logsDirPathStr, const Clock& clock, LogSink log)
    : clock_(clock), log_(std::move(log)) {
    // An empty path names no directory; "/TLOG…" at the root is never meant.
    if (logsDirPathStr && !logsDirPathStr->isEmpty())
        logsDir_ = std::move(logsDirPathStr);
}

void TimeLogStore::useFolder(const QString& folder) {
    logsDir_ = folder.isEmpty() ? std::nullopt : std::optional(folder);
    logFilePath_.reset();
    index_.reset();
    lastAppend_.reset();
    lastFailure_.reset();
}

QString TimeLogStore::pathOf(const QString& fileName) const {
    return logsDir_.value_or(QString()) + u'/' + fileName;
}

void TimeLogStore::report(const char* format, const QString& path) const {
    const QString line = logLine(format, path);
    if (log_)
        log_(line);
    else
        writeSystemLog(line);
}

std::optional<MonthIndex> scanMonthIndex(const std::optional<QString>& folder) {
    if (!folder || folder->isEmpty() || !isDirectory(*folder))
        return std::nullopt;
    MonthIndex index;
    for (const QString& name : listDirectory(*folder)) {
        if (const std::optional<QString> key = monthKeyOfName(name))
            index.insert(*key, name);
    }
    return index;
}

LogFolder LogFolder::scanned(std::optional<QString> path) {
    std::optional<MonthIndex> index = scanMonthIndex(path);
    ConflictIndex conflicts = scanConflictCopies(path);
    return LogFolder{std::move(path), std::move(index), std::move(conflicts)};
}

std::optional<QString> LogFolder::monthFile(const QString& monthKey) const {
    if (!path || path->isEmpty() || !index)
        return std::nullopt;
    const auto found = index->constFind(monthKey);
    if (found == index->constEnd())
        return std::nullopt;
    return *path + u'/' + found.value();
}

QStringList LogFolder::conflictCopies(const QString& monthKey) const {
    QStringList paths;
    if (path && !path->isEmpty()) {
        for (const QString& name : conflicts.value(monthKey))
            paths << *path + u'/' + name;
    }
    return paths;
}

QStringList LogFolder::months() const {
    QStringList keys = index ? index->keys() : QStringList();
    keys += conflicts.keys();
    keys.sort();
    keys.removeDuplicates();
    return keys;
}

std::optional<MonthIndex> TimeLogStore::getLogFileDic() const {
    return scanMonthIndex(logsDir_);
}

void TimeLogStore::checkLogFileDic() {
    if (index_)
        return;
    index_ = getLogFileDic();
    conflicts_ = scanConflictCopies(logsDir_);
}

void TimeLogStore::rebuildLogFileDic() {
    dropLogFileDic();
    checkLogFileDic();
}

void TimeLogStore::checkLogFile() {
    if (!logsDir_) {
        logFilePath_.reset();
        report(kCreationFailed, QString());
        return;
    }
    const QString path = pathOf(clock_.now().format(CalFormat::LogFileName));
    logFilePath_ = path;
    if (existsAt(path))
        return;
    if (!createEmptyFile(path)) {
        report(kCreationFailed, path);
        return;
    }
    rebuildLogFileDic();
}

std::optional<QString> TimeLogStore::monthFileName(const QString& monthKey) {
    if (index_) {
        const auto found = index_->constFind(monthKey);
        if (found != index_->constEnd())
            return found.value();
    }
    const QString name = QStringLiteral("TLOG%1.txt").arg(monthKey);
    const QString path = pathOf(name);
    if (existsAt(path))
        return name;
    if (!createEmptyFile(path))
        return std::nullopt;
    rebuildLogFileDic();
    return name;
}

std::optional<QString> TimeLogStore::monthFilePath(const QString& monthKey) {
    if (!logsDir_)
        return std::nullopt;
    const std::optional<QString> name = monthFileName(monthKey);
    return name ? std::optional(pathOf(*name)) : std::nullopt;
}

void TimeLogStore::fail(const char* format, const QString& path, const QString& reason) {
    report(format, path);
    lastFailure_ = FileFailure{path, reason};
}

bool TimeLogStore::appendPunch(const CalDate& punch, const CalDate& written, PunchKind kind) {
    lastAppend_.reset();
    lastFailure_.reset();
    if (!logsDir_) {
        lastFailure_ = FileFailure{QString(), QStringLiteral("no log folder")};
        return false;
    }
    const QString monthKey = punch.format(CalFormat::MonthKey);
    const std::optional<QString> path = monthFilePath(monthKey);
    if (!path) {
        lastFailure_ = FileFailure{pathOf(punch.format(CalFormat::LogFileName)),
                                   QString::fromLocal8Bit(std::strerror(errno))};
        return false;
    }
    ReadFailure unread;
    const std::optional<LogFileText> file = readLogFile(*path, &unread);
    if (!file) {
        fail(kCannotRead, *path, unread.reason);
        return false;
    }
    QByteArray after = appendedBytes(*file, makeRecordLine(written, kind, punch));
    if (!replaceFileContents(*path, after)) {
        fail(kWriteError, *path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    lastAppend_ = FileEdit{*path, file->bytes, std::move(after)};
    return true;
}

std::optional<NewestRecord> newestRecord(const LogFolder& folder) {
    if (!folder.index)
        return std::nullopt;
    const QStringList months = folder.months();
    for (auto key = months.crbegin(); key != months.crend(); ++key) {
        const MonthRead month = readMonth(folder, *key);
        if (!month.text)
            continue;
        std::optional<NewestRecord> last;
        forEachRecord(*month.text, [&](const Record& record) {
            last = NewestRecord{record.kind, record.timeToken.toString()};
        });
        if (last)
            return last;
    }
    return std::nullopt;
}

} // namespace fennick
