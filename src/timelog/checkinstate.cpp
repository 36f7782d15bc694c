#include "timelog/checkinstate.h"

#include "platform/caldate.h"
#include "platform/texts.h"

namespace fennick {

CheckInState checkInState(bool onBusiness, const QString& prevTimeStr) {
    const QString inWord = localized(texts::CheckInWord);
    const QString outWord = localized(texts::CheckOutWord);
    const QString& now = onBusiness ? inWord : outWord;
    const QString& next = onBusiness ? outWord : inWord;
    CheckInState state;
    state.checkedIn = onBusiness;
    state.title = fillWord(localized(texts::CkinTitle), now);
    state.message = fillWord(localized(texts::CkinMessage), next);
    state.lastPunchTitle = fillWord(localized(texts::CkinPreTitle), now);
    state.lastPunchTime = lastPunchText(prevTimeStr);
    state.expected = onBusiness ? PunchKind::CheckOut : PunchKind::CheckIn;
    state.checkOutEnabled = !prevTimeStr.isEmpty();
    return state;
}

QString lastPunchText(const QString& prevTimeStr) {
    const auto date = CalDate::parse(prevTimeStr, CalFormat::Compact);
    return date ? date->format(CalFormat::Display) : prevTimeStr;
}

} // namespace fennick
