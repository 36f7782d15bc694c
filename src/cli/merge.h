#pragma once

#include "cli/cli.h"
#include "timelog/store.h"

#include <QTextStream>

namespace fennick {

// One line on `err` for each month that has conflict copies, naming them:
// their punches count once until they are merged.
void announceConflicts(const ConflictIndex& conflicts, QTextStream& err);

// `fennick merge`: merges every month's conflict copies into its month file
// under the writers' lock, as the report windows' Merge button does. Says
// what was merged, or that there was nothing to merge, on `out`; a failure
// (nothing changed) is one line on `err` and kCliWriteFailed.
int runMerge(QTextStream& out, QTextStream& err, const CliEnv& env);

} // namespace fennick
