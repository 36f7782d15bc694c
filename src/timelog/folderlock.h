#pragma once

#include <QString>

namespace fennick {

// One writer at a time: an advisory lock on ".fennick.lock" in the log folder,
// held by every writer (the window, the terminal) around reading the state,
// rewriting a month file and saving the settings. Blocks until the lock is
// free. Where the lock file cannot be made (no folder, a read-only one) the
// holder goes on without it: its writes would fail there anyway.
class FolderLock {
public:
    FolderLock() = default;
    explicit FolderLock(const QString& folder);
    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();

    bool held() const { return fd_ >= 0; }
    void release();

    static constexpr const char* kFileName = ".fennick.lock";

private:
    int fd_ = -1;
};

} // namespace fennick
