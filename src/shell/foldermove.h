#pragma once

#include "platform/clock.h"
#include "shell/settings.h"
#include "timelog/loghistory.h"

#include <QString>
#include <optional>

namespace fennick {

// How a move of the log folder ended. Before the settings name the new
// folder (`switched` false) a failure changed nothing: the old folder is
// complete and in use, and what was copied is gone again. After the switch a
// failure is an old file that could not be removed; nothing is lost.
struct FolderMove {
    bool switched = false;
    std::optional<FileFailure> failure;
    // A month file was in both folders with other bytes: the moved one is
    // now a conflict copy in the new folder, waiting to be merged.
    bool madeConflictCopies = false;
};

// Moves the time log files (TLOG*.txt: the month files and the conflict
// copies sync tools make) from `from` to `to` under the writers' locks of
// both folders, then makes the settings name `to`, then removes the old
// files. Each copy is written durably under a name of its own and read back
// before the switch, so a kill at any point leaves one complete folder in
// use. A file already in `to` is never overwritten: with the same bytes it
// counts as moved, with other bytes the moved one becomes the conflict copy
// "TLOG<YYYYMM>.sync-conflict-<YYYYMMDD>-<HHMMSS>-FENNICK.txt" (time from
// `clock`). Missing folders of `to` are made 0700. Refuses `from` itself and
// any folder inside it.
FolderMove moveLogFolder(Settings& settings, const QString& from, const QString& to,
                         const Clock& clock);

// Makes the settings name `to` as it is, moving nothing.
std::optional<FileFailure> useLogFolder(Settings& settings, const QString& to);

// The conflict copy's name for a time log file `name` moved at `when`.
QString movedConflictName(const QString& name, const CalDate& when);

// True when `inner` is `outer` or lies inside it, links resolved; either may
// not exist yet.
bool isSameOrInside(const QString& inner, const QString& outer);

} // namespace fennick
