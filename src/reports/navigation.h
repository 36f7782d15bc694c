#pragma once

#include "platform/caldate.h"
#include "platform/clock.h"
#include "timelog/store.h"

#include <QStringList>
#include <array>
#include <functional>
#include <optional>

namespace fennick {

// Month arithmetic behind the report windows' "earlier" and "later" buttons.
// A cursor is a month offset: 0 is the current month, n is n months back.
// Nothing here reads files or the time: whether a month has a log file comes
// from the predicate, so the rules can be checked without a window.

// True when the month `offset` months back has a log file. Called only with
// offsets >= 0.
using MonthHasFile = std::function<bool(int offset)>;

// How far the buttons look for a month with a file before they enable, and
// how far a move searches.
inline constexpr int monthlyReach = 23;
inline constexpr int yearlyReach = 12;
inline constexpr int searchReach = 23;

struct MoveButtons {
    bool nextEnabled = false; // towards the present
    bool prevEnabled = false; // towards the past
    bool nowEnabled = false;  // back to the current month
    friend bool operator==(const MoveButtons&, const MoveButtons&) = default;
};

// First offset of the twelve-month block holding the cursor: (k / 12) * 12.
int blockStart(int cursor);

// What a move steps over: a month (log and daily sums windows) or a
// twelve-month block (monthly sums window).
enum class Stride { Month, Block };

// Which buttons are enabled for the cursor.
MoveButtons checkMoveSomeButton(int cursor, Stride stride, const MonthHasFile& hasFile);

// The nearest offset with a file in the given direction within the search
// reach, or 0 when there is none. So 0 means "the current month" as well as
// "nothing found": a move taking it lands on the current month either way.
int getNextExistingMonth(int cursor, bool towardsPresent, const MonthHasFile& hasFile);

// The cursor after a move of the log or daily sums window.
int goNextMonthCursor(int cursor, const MonthHasFile& hasFile);
int goPrevMonthCursor(int cursor, const MonthHasFile& hasFile);

// The cursor after a move of the monthly sums window. A move keeps the
// cursor's place inside its block (s - 12 or s + 12), so the other windows
// then open on the matching month; a search that finds nothing, or only the
// current month, goes to 0.
int goNextSum2Cursor(int cursor, const MonthHasFile& hasFile);
int goPrevSum2Cursor(int cursor, const MonthHasFile& hasFile);

// The month key "%Y%m" of the month n months before now's month; absent for
// a negative n.
std::optional<QString> getDateString(int n, const CalDate& now);

// The twelve offsets of the cursor's block, oldest first (B + 11 down to B),
// and their month keys in the same order: the rows of the monthly sums window.
std::array<int, 12> blockOffsets(int cursor);
QStringList blockMonthKeys(int cursor, const CalDate& now);

// A predicate over a month index (month key -> file name). An absent index
// has no files. "Now" is read from the clock at each question, so the clock
// must outlive the predicate; the index is copied.
MonthHasFile monthHasFileIn(const std::optional<MonthIndex>& index, const Clock& clock);

// Readable names of a month key ("March 2024") and of a block ("April 2023 –
// March 2024") in the user's locale; a key that is not a month stays as it is.
QString monthTitle(const QString& monthKey);
QString blockTitle(const QStringList& keysOldestFirst);

} // namespace fennick
