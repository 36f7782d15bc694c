#include "cli/args.h"

namespace fennick {

namespace {

const QString kMonth = QStringLiteral("--month");
const QString kFormat = QStringLiteral("--format");

bool isHelp(const QString& word) {
    return word == u"--help" || word == u"-h";
}

bool isVersion(const QString& word) {
    return word == u"--version" || word == u"-v";
}

CliRequest answering(CliCommand command) {
    CliRequest request;
    request.command = command;
    return request;
}

bool isOption(const QString& word) {
    return word.size() > 1 && word.startsWith(u'-');
}

CliError usageError(const QString& message) {
    return {CliText::tr("%1 (see 'fennick --help')").arg(message)};
}

std::optional<CliFormat> formatNamed(const QString& name) {
    if (name == u"text")
        return CliFormat::Text;
    if (name == u"csv")
        return CliFormat::Csv;
    if (name == u"json")
        return CliFormat::Json;
    return std::nullopt;
}

// Takes one "--name value" or "--name=value" option at args[i] into the
// request, moving i past its value.
std::optional<CliError> takeOption(const QStringList& args, qsizetype& i, CliRequest& request) {
    const QString& word = args[i];
    const qsizetype eq = word.indexOf(u'=');
    const QString name = eq < 0 ? word : word.left(eq);
    if (name != kMonth && name != kFormat)
        return usageError(CliText::tr("unknown option '%1'").arg(name));
    if (name == kMonth && request.command == CliCommand::Status)
        return usageError(CliText::tr("status takes no option '--month'"));
    QString value;
    if (eq >= 0)
        value = word.mid(eq + 1);
    else if (i + 1 < args.size() && !isOption(args[i + 1]))
        value = args[++i];
    if (value.isEmpty())
        return usageError(CliText::tr("option '%1' needs a value").arg(name));
    if (name == kMonth) {
        request.month = value;
        return std::nullopt;
    }
    const auto format = formatNamed(value);
    if (!format)
        return usageError(CliText::tr("unknown format '%1'; use text, csv or json").arg(value));
    if (request.command == CliCommand::Status && *format == CliFormat::Csv)
        return usageError(CliText::tr("status prints text or json, not csv"));
    request.format = *format;
    return std::nullopt;
}

std::optional<CliError> takeWords(const QStringList& words, CliRequest& request) {
    if (request.command == CliCommand::Status) {
        if (!words.isEmpty())
            return usageError(CliText::tr("unexpected argument '%1'").arg(words.first()));
        return std::nullopt;
    }
    if (words.isEmpty())
        return usageError(CliText::tr("report needs a kind: log, daily, monthly or weekly"));
    const auto report = reportKindNamed(words.first());
    if (!report)
        return usageError(CliText::tr("unknown report '%1'; use log, daily, monthly or weekly")
                              .arg(words.first()));
    if (words.size() > 1)
        return usageError(CliText::tr("unexpected argument '%1'").arg(words[1]));
    request.report = *report;
    return std::nullopt;
}

} // namespace

bool isCliInvocation(const QString& firstArg) {
    return !isOption(firstArg) || isHelp(firstArg) || isVersion(firstArg);
}

std::variant<CliRequest, CliError> parseCliArgs(const QStringList& args) {
    if (args.isEmpty())
        return usageError(CliText::tr("missing command"));
    CliRequest request;
    const QString& first = args.first();
    if (first == u"report")
        request.command = CliCommand::Report;
    else if (first == u"status")
        request.command = CliCommand::Status;
    else if (isHelp(first) || isVersion(first))
        return answering(isHelp(first) ? CliCommand::Help : CliCommand::Version);
    else if (isOption(first))
        return usageError(CliText::tr("unknown option '%1'").arg(first));
    else
        return usageError(CliText::tr("unknown command '%1'").arg(first));

    QStringList words;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (isHelp(args[i]) || isVersion(args[i]))
            return answering(isHelp(args[i]) ? CliCommand::Help : CliCommand::Version);
        if (!isOption(args[i]))
            words << args[i];
        else if (auto error = takeOption(args, i, request))
            return *error;
    }
    if (auto error = takeWords(words, request))
        return *error;
    return request;
}

std::variant<int, CliError> monthOffset(const QString& monthKey, const CalDate& now) {
    const auto month = CalDate::parse(monthKey, CalFormat::MonthKey);
    if (!month || month->year() < 1)
        return CliError{
            CliText::tr("'%1' is not a month; give it as YYYYMM, such as 202403").arg(monthKey)};
    const long long offset =
        (now.year() * 12LL + now.month()) - (month->year() * 12LL + month->month());
    if (offset < 0)
        return CliError{CliText::tr("the month %1 lies in the future").arg(monthKey)};
    return int(offset);
}

} // namespace fennick
