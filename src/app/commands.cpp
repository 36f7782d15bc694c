#include "app/commands.h"

#include <QAction>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace fennick {

namespace {

// The translation context stays the one the texts were first written under.
QString translated(const char* text) {
    return QCoreApplication::translate("fennick::MyController", text);
}

struct CommandSpec {
    Command command;
    const char* text;
    const char* keys; // translated, so a language may choose its own
    QKeySequence::StandardKey standardKeys = QKeySequence::UnknownKey;
};

const CommandSpec kSpecs[] = {
    {Command::ShowCheckIn, QT_TRANSLATE_NOOP("fennick::MyController", "Check-In &Window"),
     QT_TRANSLATE_NOOP("fennick::MyController", "Ctrl+1")},
    {Command::ShowLog, QT_TRANSLATE_NOOP("fennick::MyController", "&Log"),
     QT_TRANSLATE_NOOP("fennick::MyController", "Ctrl+2")},
    {Command::ShowDailySums, QT_TRANSLATE_NOOP("fennick::MyController", "&Daily Sums"),
     QT_TRANSLATE_NOOP("fennick::MyController", "Ctrl+3")},
    {Command::ShowMonthlySums, QT_TRANSLATE_NOOP("fennick::MyController", "&Monthly Sums"),
     QT_TRANSLATE_NOOP("fennick::MyController", "Ctrl+4")},
    {Command::ShowWeeklySums, QT_TRANSLATE_NOOP("fennick::MyController", "W&eekly Sums"),
     QT_TRANSLATE_NOOP("fennick::MyController", "Ctrl+5")},
    {Command::CheckIn, QT_TRANSLATE_NOOP("fennick::MyController", "Check &In"),
     QT_TRANSLATE_NOOP("fennick::MyController", "Ctrl+I")},
    {Command::CheckOut, QT_TRANSLATE_NOOP("fennick::MyController", "Check &Out"),
     QT_TRANSLATE_NOOP("fennick::MyController", "Ctrl+O")},
    {Command::Undo, QT_TRANSLATE_NOOP("fennick::MyController", "&Undo"), nullptr,
     QKeySequence::Undo},
    {Command::Redo, QT_TRANSLATE_NOOP("fennick::MyController", "&Redo"),
     QT_TRANSLATE_NOOP("fennick::MyController", "Ctrl+Shift+Z")},
    {Command::ChangePunch, QT_TRANSLATE_NOOP("fennick::MyController", "&Change Punch Time…"),
     QT_TRANSLATE_NOOP("fennick::MyController", "F2")},
    {Command::DeletePunch, QT_TRANSLATE_NOOP("fennick::MyController", "&Delete Punch…"), nullptr,
     QKeySequence::Delete},
    {Command::InsertPunch, QT_TRANSLATE_NOOP("fennick::MyController", "&Insert Punch…"),
     QT_TRANSLATE_NOOP("fennick::MyController", "Ctrl+Shift+I")},
    {Command::Preferences, QT_TRANSLATE_NOOP("fennick::MyController", "&Preferences…"),
     QT_TRANSLATE_NOOP("fennick::MyController", "Ctrl+,")},
    {Command::Print, QT_TRANSLATE_NOOP("fennick::MyController", "&Print…"), nullptr,
     QKeySequence::Print},
    {Command::PrintPreview, QT_TRANSLATE_NOOP("fennick::MyController", "Print Pre&view…"),
     QT_TRANSLATE_NOOP("fennick::MyController", "Ctrl+Shift+P")},
    {Command::ExportPdf, QT_TRANSLATE_NOOP("fennick::MyController", "Export P&DF…"),
     QT_TRANSLATE_NOOP("fennick::MyController", "Ctrl+E")},
    {Command::ExportCsv, QT_TRANSLATE_NOOP("fennick::MyController", "Export &CSV…"),
     QT_TRANSLATE_NOOP("fennick::MyController", "Ctrl+Shift+E")},
    {Command::Quit, QT_TRANSLATE_NOOP("fennick::MyController", "&Quit"), nullptr,
     QKeySequence::Quit},
};

constexpr Command kShows[] = {Command::ShowCheckIn, Command::ShowLog, Command::ShowDailySums,
                              Command::ShowMonthlySums, Command::ShowWeeklySums};

} // namespace

Commands::Commands(QObject* owner) {
    for (const CommandSpec& spec : kSpecs) {
        auto* action = new QAction(translated(spec.text), owner);
        action->setShortcut(spec.keys ? QKeySequence(translated(spec.keys))
                                      : QKeySequence(spec.standardKeys));
        actions_[spec.command] = action;
    }
    action(Command::Quit)->setMenuRole(QAction::QuitRole);
    action(Command::Preferences)->setMenuRole(QAction::PreferencesRole);
}

void Commands::showHistory(const LogHistory& history) const {
    const LogStep* undo = history.nextUndo();
    const LogStep* redo = history.nextRedo();
    action(Command::Undo)
        ->setText(
            undo
                ? translated(QT_TRANSLATE_NOOP("fennick::MyController", "&Undo %1")).arg(undo->what)
                : translated(QT_TRANSLATE_NOOP("fennick::MyController", "&Undo")));
    action(Command::Redo)
        ->setText(
            redo
                ? translated(QT_TRANSLATE_NOOP("fennick::MyController", "&Redo %1")).arg(redo->what)
                : translated(QT_TRANSLATE_NOOP("fennick::MyController", "&Redo")));
    action(Command::Undo)->setEnabled(undo);
    action(Command::Redo)->setEnabled(redo);
}

bool Commands::isPrinting(Command command) {
    return command == Command::Print || command == Command::PrintPreview ||
           command == Command::ExportPdf || command == Command::ExportCsv;
}

void Commands::installMenus(QMainWindow* window) const {
    QMenuBar* bar = window->menuBar();
    QMenu* file = bar->addMenu(translated(QT_TRANSLATE_NOOP("fennick::MyController", "&File")));
    file->addAction(action(Command::Print));
    file->addAction(action(Command::PrintPreview));
    file->addAction(action(Command::ExportPdf));
    file->addAction(action(Command::ExportCsv));
    file->addSeparator();
    file->addAction(action(Command::Preferences));
    file->addSeparator();
    file->addAction(action(Command::Quit));
    QMenu* edit = bar->addMenu(translated(QT_TRANSLATE_NOOP("fennick::MyController", "&Edit")));
    edit->addAction(action(Command::Undo));
    edit->addAction(action(Command::Redo));
    edit->addSeparator();
    edit->addAction(action(Command::ChangePunch));
    edit->addAction(action(Command::DeletePunch));
    edit->addAction(action(Command::InsertPunch));
    QMenu* punch = bar->addMenu(translated(QT_TRANSLATE_NOOP("fennick::MyController", "&Punch")));
    punch->addAction(action(Command::CheckIn));
    punch->addAction(action(Command::CheckOut));
    QMenu* view = bar->addMenu(translated(QT_TRANSLATE_NOOP("fennick::MyController", "&View")));
    for (Command c : kShows)
        view->addAction(action(c));
    // Shortcuts work whichever main window is in front.
    for (const auto& [command, act] : actions_)
        window->addAction(act);
}

QMenu* Commands::trayMenu(QWidget* parent) const {
    auto* menu = new QMenu(parent);
    for (Command c : kShows)
        menu->addAction(action(c));
    menu->addSeparator();
    menu->addAction(action(Command::CheckIn));
    menu->addAction(action(Command::CheckOut));
    menu->addSeparator();
    menu->addAction(action(Command::Quit));
    return menu;
}

} // namespace fennick
