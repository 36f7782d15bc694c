#include "shell/session.h"

#include "shell/startup.h"

namespace fennick {

PunchSession::PunchSession(const Clock& clock, SessionEnv env, TimeClock::Hooks hooks)
    : log_(env.log), settings_(openSettingsStore(env.settingsPath), env.log),
      store_(logDirectoryPath(env.homeDir), clock, env.log),
      timeClock_(store_, clock, savingFirst(std::move(hooks))) {
    // The registered defaults answer while the store holds nothing of its own.
    settings_.registerDefaults(Settings::appDefaults());
    timeClock_.setOnBusinessP(settings_.boolForKey(kOnBusinessKey));
    timeClock_.setPrevTimeStr(settings_.stringForKey(kPrevTimeStrKey));
}

TimeClock::Hooks PunchSession::savingFirst(TimeClock::Hooks hooks) {
    hooks.punchRecorded = [this, then = std::move(hooks.punchRecorded)] {
        saveDefaults();
        if (then)
            then();
    };
    return hooks;
}

void PunchSession::open() {
    if (const auto& folder = store_.logsDirPathStr())
        ensureLogDirectory(*folder, log_);
    store_.dropLogFileDic();
    store_.checkLogFileDic();
}

void PunchSession::saveDefaults() {
    settings_.setBool(kOnBusinessKey, timeClock_.onBusinessP());
    settings_.setString(kPrevTimeStrKey, timeClock_.prevTimeStr());
    settings_.synchronize();
}

} // namespace fennick
