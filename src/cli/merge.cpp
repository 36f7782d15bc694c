#include "cli/merge.h"

#include "cli/args.h"
#include "shell/session.h"
#include "timelog/conflicts.h"

#include <QFileInfo>

namespace fennick {

namespace {

QString monthFileName(const QString& monthKey) {
    return QStringLiteral("TLOG%1.txt").arg(monthKey);
}

// The copies a step removed, by month.
ConflictIndex mergedCopies(const LogStep& step) {
    ConflictIndex copies;
    for (const FileEdit& edit : step.edits) {
        const QString name = QFileInfo(edit.path).fileName();
        if (const auto key = conflictMonthKey(name); key && edit.absentAfter)
            copies[*key].append(name);
    }
    return copies;
}

} // namespace

void announceConflicts(const ConflictIndex& conflicts, QTextStream& err) {
    for (auto it = conflicts.cbegin(); it != conflicts.cend(); ++it)
        err << "fennick: "
            << CliText::tr("%1 has conflict copies, counted once until 'fennick merge': %2")
                   .arg(monthFileName(it.key()), it.value().join(QLatin1String(", ")))
            << '\n';
    err.flush();
}

int runMerge(QTextStream& out, QTextStream& err, const CliEnv& env) {
    PunchSession session(env.clock, SessionEnv{env.homeDir, env.settingsPath, env.log},
                         TimeClock::Hooks{});
    session.open();
    const std::variant<LogStep, QString> merged = session.mergeConflicts();
    if (const QString* failure = std::get_if<QString>(&merged)) {
        err << "fennick: " << *failure << '\n';
        return kCliWriteFailed;
    }
    const ConflictIndex copies = mergedCopies(std::get<LogStep>(merged));
    if (copies.isEmpty())
        out << CliText::tr("There are no conflict copies to merge.") << '\n';
    for (auto it = copies.cbegin(); it != copies.cend(); ++it)
        out << CliText::tr("Merged %1 into %2.")
                   .arg(it.value().join(QLatin1String(", ")), monthFileName(it.key()))
            << '\n';
    return kCliOk;
}

} // namespace fennick
