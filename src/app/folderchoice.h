#pragma once

#include "platform/clock.h"
#include "shell/settings.h"

#include <QString>
#include <functional>

class QWidget;

namespace fennick {

// What to do with a newly chosen log folder.
enum class FolderUse { Move, UseAsItIs, Cancel };

// The dialogs of choosing the log folder; tests answer them.
struct FolderDialogs {
    // The folder picked, starting at `current`; empty when cancelled.
    std::function<QString(QWidget* parent, const QString& current)> pick;
    // Move the month files there, use the folder as it is, or cancel.
    std::function<FolderUse(QWidget* parent, const QString& from, const QString& to)> ask;
    // A failure, in one message.
    std::function<void(QWidget* parent, const QString& text)> tell;

    // The file dialog and message boxes.
    static FolderDialogs standard();
};

// Lets the person pick another log folder and say whether the month files
// move there or the folder is used as it is (a synced folder that already
// holds them). Answers whether the settings now name another folder, which
// the running session must then follow.
enum class FolderChoice { Unchanged, Switched, SwitchedWithConflictCopies };
FolderChoice chooseLogFolder(QWidget* parent, Settings& settings, const QString& current,
                             const Clock& clock, const FolderDialogs& dialogs);

} // namespace fennick
