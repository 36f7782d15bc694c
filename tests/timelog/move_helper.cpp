// Moves a log folder in a process of its own, for the kill test; exits 0 once it switched.
//   move_helper <settings> <from> <to>
#include "shell/foldermove.h"

#include <QCoreApplication>

using namespace fennick;

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return 2;
    Settings settings(openSettingsStore(args[1]), [](const QString&) {});
    const FixedClock clock(CalDate::fromInstant(1077274800));
    const FolderMove move = moveLogFolder(settings, args[2], args[3], clock);
    return move.switched && !move.failure ? 0 : 1;
}
