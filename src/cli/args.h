#pragma once

#include "platform/caldate.h"
#include "reports/report.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <optional>
#include <variant>

namespace fennick {

// Translation context of the terminal's own texts.
class CliText {
    Q_DECLARE_TR_FUNCTIONS(fennick::CliText)
};

enum class CliCommand { Help, Version, Report, Status, In, Out, Toggle, Undo, Merge };
enum class CliFormat { Text, Csv, Json };

// What the words on the command line ask for. The month is kept as given:
// whether it lies in the future depends on the clock (see monthOffset).
struct CliRequest {
    CliCommand command = CliCommand::Help;
    ReportKind report = ReportKind::Log;
    std::optional<QString> month;
    CliFormat format = CliFormat::Text;
    std::optional<QString> at; // in, out: the forgotten punch's time as given
};

// One line saying what is wrong with the arguments.
struct CliError {
    QString message;
};

// True when the first word after the program name is for the terminal:
// anything but one of Qt's own options ("-platform", "-style" ...) or
// --background, which start the windows. Unknown words and options are the terminal's to refuse.
bool isCliInvocation(const QString& firstArg);

// Starts the windows into the tray, as the session's autostart does.
inline const QString kBackgroundOption = QStringLiteral("--background");

// The words after the program name when they start the windows: an error for
// the first word that is none of Qt's options, their values or --background.
std::optional<CliError> windowArgsError(const QStringList& args);

// The time "--at" names: "HH:MM" on the day of `now`, or "YYYY-MM-DD HH:MM";
// absent when it is neither or names no local time.
std::optional<CalDate> atTime(const QString& text, const CalDate& now);

// The words after the program name. "--help" or "--version" anywhere answers
// at once; options may come before or after the report kind and take their
// value as the next word or after "=".
std::variant<CliRequest, CliError> parseCliArgs(const QStringList& args);

// The month offset (0 = now's month) of a month key "YYYYMM"; an error when
// the text is not a calendar month or the month lies after now's.
std::variant<int, CliError> monthOffset(const QString& monthKey, const CalDate& now);

} // namespace fennick
