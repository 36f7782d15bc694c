#pragma once

#include <QString>
#include <cstdint>

namespace fennick {

// An entry of the localized strings table "InfoPlist" and the text shown when
// the table has none.
struct TextKey {
    const char* key;
    const char* fallback;
};

namespace texts {
inline constexpr TextKey LogDirPath{"LogDirPath", "~/Library/fennick"};
inline constexpr TextKey CheckInWord{"checkIN", "CheckIn"};
inline constexpr TextKey CheckOutWord{"checkOUT", "CheckOut"};
inline constexpr TextKey CkinTitle{"ckinTitleMessFMT", "Now %@..."};
inline constexpr TextKey CkinMessage{"ckinMessMessFMT", "Please %@."};
inline constexpr TextKey CkinPreTitle{"ckinPreTitleMessFMT", "Last %@ time:"};
inline constexpr TextKey EntryTitle{"titleMessFMT", "Now %@..."};
inline constexpr TextKey EntryMessage{"messMessFMT", "Enter app. %@ time."};
inline constexpr TextKey EntryAlertTitle{"entDateAlert", "Alert"};
inline constexpr TextKey EntryAlertMessage{"entDateMess", "Reenter"};
inline constexpr TextKey MonthTotal{"tukigoukeiFMT", "Monthly sum: \t%03d:%02d:%02d"};
inline constexpr TextKey YearTotal{"nengoukeiFMT", "Yearly sum: \t%03d:%02d:%02d"};
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
