#pragma once

#include <QString>
#include <QtGlobal>
#include <cstdint>

namespace fennick {

// An entry of the localized strings table "InfoPlist" and the text shown when
// the table has none.
struct TextKey {
    const char* key;
    const char* fallback;
};

namespace texts {
inline constexpr TextKey CheckInWord{QT_TRANSLATE_NOOP("InfoPlist", "checkIN"), "CheckIn"};
inline constexpr TextKey CheckOutWord{QT_TRANSLATE_NOOP("InfoPlist", "checkOUT"), "CheckOut"};
inline constexpr TextKey CkinTitle{QT_TRANSLATE_NOOP("InfoPlist", "ckinTitleMessFMT"), "Now %@..."};
inline constexpr TextKey CkinMessage{QT_TRANSLATE_NOOP("InfoPlist", "ckinMessMessFMT"),
                                     "Please %@."};
inline constexpr TextKey CkinPreTitle{QT_TRANSLATE_NOOP("InfoPlist", "ckinPreTitleMessFMT"),
                                      "Last %@ time:"};
inline constexpr TextKey EntryTitle{QT_TRANSLATE_NOOP("InfoPlist", "titleMessFMT"), "Now %@..."};
inline constexpr TextKey EntryMessage{QT_TRANSLATE_NOOP("InfoPlist", "messMessFMT"),
                                      "Enter app. %@ time."};
inline constexpr TextKey EntryAlertTitle{QT_TRANSLATE_NOOP("InfoPlist", "entDateAlert"), "Alert"};
inline constexpr TextKey EntryAlertMessage{QT_TRANSLATE_NOOP("InfoPlist", "entDateMess"),
                                           "Reenter"};
inline constexpr TextKey MonthTotal{QT_TRANSLATE_NOOP("InfoPlist", "tukigoukeiFMT"),
                                    "Monthly sum: \t%03d:%02d:%02d"};
inline constexpr TextKey YearTotal{QT_TRANSLATE_NOOP("InfoPlist", "nengoukeiFMT"),
                                   "Yearly sum: \t%03d:%02d:%02d"};
} // namespace texts

// The table's entry for the key (from the installed translators, context
// "InfoPlist"), or the built-in default when there is none.
QString localized(const TextKey& key);

// Fills a format from the table. Only "%@" (the word) and integer
// placeholders such as "%d", "%02d", "%03d" are substituted; "%%" is a percent
// sign and every other "%" sequence is printed as it stands, so a translation
// can never crash or garble the program.
QString fillWord(const QString& format, const QString& word);
QString fillInts(const QString& format, std::initializer_list<long long> values);

// Hours, minutes and seconds of a signed count of seconds, each truncated
// toward zero; hours grow without limit.
struct DurationParts {
    long long hours = 0;
    long long minutes = 0;
    long long seconds = 0;
};
DurationParts splitDuration(std::int64_t seconds);

// Fills a duration format ("%02d:%02d:%02d" and the like). A negative amount
// shows as a minus sign in front of its magnitude: -90 s is "-00:01:30".
QString fillDuration(const QString& format, std::int64_t seconds);

} // namespace fennick
