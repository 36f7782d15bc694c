#include "shell/session.h"

#include "shell/startup.h"
#include "timelog/conflicts.h"

namespace fennick {

PunchSession::PunchSession(const Clock& clock, SessionEnv env, TimeClock::Hooks hooks)
    : log_(env.log), homeDir_(env.homeDir), settings_(openSettingsStore(env.settingsPath), env.log),
      store_(resolveLogFolder(settings_.stringForKey(kLogFolderKey), env.homeDir), clock, env.log),
      timeClock_(store_, clock, withSession(std::move(hooks))), editor_(store_, clock) {
    // The registered defaults answer while the store holds nothing of its own.
    settings_.registerDefaults(Settings::appDefaults());
    timeClock_.setLocker([this] { return lockFolder(); });
    timeClock_.setOnBusinessP(settings_.boolForKey(kOnBusinessKey));
    timeClock_.setPrevTimeStr(settings_.stringForKey(kPrevTimeStrKey));
}

// The state is saved before anyone hears of it, and each press is a step.
TimeClock::Hooks PunchSession::withSession(TimeClock::Hooks hooks) {
    hooks.punchRecorded = [this, then = std::move(hooks.punchRecorded)] {
        saveDefaults();
        if (then)
            then();
    };
    hooks.stepRecorded = [this, then = std::move(hooks.stepRecorded)](const LogStep& step) {
        history_.recorded(step);
        if (then)
            then(step);
    };
    return hooks;
}

void PunchSession::openStore() {
    if (const auto& folder = store_.logsDirPathStr())
        ensureLogDirectory(*folder, log_);
    store_.dropLogFileDic();
    store_.checkLogFileDic();
}

void PunchSession::open() {
    openStore();
    // A kill between a month file's rename and the settings' save left the
    // settings a punch behind; so does a hand edit while fennick was closed.
    followLog();
}

QString PunchSession::settingsFolder() const {
    return resolveLogFolder(settings_.storedString(kLogFolderKey), homeDir_);
}

void PunchSession::useFolder(const QString& folder) {
    store_.useFolder(folder);
    // The steps name the old folder's files.
    history_ = LogHistory();
    openStore();
    const FolderLock lock = store_.lockFolder();
    timeClock_.followLog();
}

bool PunchSession::followFolderSetting() {
    const QString folder = settingsFolder();
    if (folder == store_.logsDirPathStr().value_or(QString()))
        return false;
    useFolder(folder);
    return true;
}

FolderLock PunchSession::lockFolder() {
    // Twice at most: a folder switched to and fro meanwhile is not chased.
    for (int attempt = 0;; ++attempt) {
        FolderLock lock = store_.lockFolder();
        const QString folder = settingsFolder();
        if (attempt == 2 || folder == store_.logsDirPathStr().value_or(QString()))
            return lock;
        lock.release();
        useFolder(folder);
    }
}

void PunchSession::saveDefaults() {
    settings_.setBool(kOnBusinessKey, timeClock_.onBusinessP());
    settings_.setString(kPrevTimeStrKey, timeClock_.prevTimeStr());
    settings_.synchronize();
}

bool PunchSession::followLog() {
    const FolderLock lock = lockFolder();
    return timeClock_.followLog();
}

std::optional<QString> PunchSession::undo() {
    const FolderLock lock = lockFolder();
    std::optional<QString> refusal = history_.undo();
    timeClock_.followLog();
    return refusal;
}

std::optional<QString> PunchSession::redo() {
    const FolderLock lock = lockFolder();
    std::optional<QString> refusal = history_.redo();
    timeClock_.followLog();
    return refusal;
}

std::optional<QString> PunchSession::edited(LogEditor::Result result) {
    if (auto* refusal = std::get_if<QString>(&result))
        return *refusal;
    history_.recorded(std::get<LogStep>(std::move(result)));
    // An edit may have changed the newest record, and so the state.
    timeClock_.followLog();
    return std::nullopt;
}

std::optional<QString> PunchSession::changeTime(const RecordAt& record, const CalDate& time) {
    const FolderLock lock = lockFolder();
    return edited(editor_.changeTime(record, time));
}

std::optional<QString> PunchSession::remove(const RecordAt& record) {
    const FolderLock lock = lockFolder();
    return edited(editor_.remove(record));
}

std::optional<QString> PunchSession::insert(PunchKind kind, const CalDate& time) {
    const FolderLock lock = lockFolder();
    return edited(editor_.insert(kind, time));
}

std::variant<LogStep, QString> PunchSession::mergeConflicts() {
    const FolderLock lock = store_.lockFolder();
    std::variant<LogStep, QString> merged =
        mergeConflictCopies(LogFolder::scanned(store_.logsDirPathStr()));
    const LogStep* step = std::get_if<LogStep>(&merged);
    if (!step || step->edits.isEmpty())
        return merged;
    history_.recorded(*step);
    // The copies are gone and a month may have a file now.
    store_.dropLogFileDic();
    store_.checkLogFileDic();
    timeClock_.followLog();
    return merged;
}

} // namespace fennick
