#pragma once

#include "timelog/loghistory.h"

#include <QKeySequence>
#include <QObject>
#include <map>

class QAction;
class QMainWindow;
class QMenu;

namespace fennick {

// The application's commands, one action each. Every main window carries the
// same menu of them and answers their shortcuts, whichever is in front.
enum class Command {
    ShowCheckIn,
    ShowLog,
    ShowDailySums,
    ShowMonthlySums,
    ShowWeeklySums,
    CheckIn,
    CheckOut,
    Undo,
    Redo,
    ChangePunch,
    DeletePunch,
    InsertPunch,
    Preferences,
    Print,
    PrintPreview,
    ExportPdf,
    ExportCsv,
    Quit,
};

class Commands {
public:
    // The actions are children of `owner`.
    explicit Commands(QObject* owner);

    QAction* action(Command command) const { return actions_.at(command); }
    const std::map<Command, QAction*>& all() const { return actions_; }

    // The menu bar of a main window, and its shortcuts.
    void installMenus(QMainWindow* window) const;
    // The tray icon's menu, a child of `parent`.
    QMenu* trayMenu(QWidget* parent) const;

    // Undo and Redo name the steps they would take, or are disabled.
    void showHistory(const LogHistory& history) const;

    static bool isPrinting(Command command);

private:
    std::map<Command, QAction*> actions_; // owned by the owner (Qt parent)
};

} // namespace fennick
