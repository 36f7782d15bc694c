#pragma once

#include "cli/args.h"
#include "cli/cli.h"

#include <QTextStream>

namespace fennick {

// The punch commands (in, out, toggle, undo) by the rules of the window's
// buttons, through a PunchSession: the same record lines, settings and month
// files, under the writers' lock of the log folder. One line on `out` says
// what was recorded or removed; a refusal or failure is one line on `err`.
// Answers the exit status.
int runPunch(const CliRequest& request, QTextStream& out, QTextStream& err, const CliEnv& env);

} // namespace fennick
