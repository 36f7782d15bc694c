#include "cli/args.h"

#include <QRegularExpression>

#include <algorithm>
#include <iterator>

namespace fennick {

namespace {

const QString kMonth = QStringLiteral("--month");
const QString kFormat = QStringLiteral("--format");
const QString kAt = QStringLiteral("--at");

struct CommandWord {
    QStringView word;
    CliCommand command;
};
constexpr CommandWord kCommandWords[] = {
    {u"report", CliCommand::Report}, {u"status", CliCommand::Status}, {u"in", CliCommand::In},
    {u"out", CliCommand::Out},       {u"toggle", CliCommand::Toggle}, {u"undo", CliCommand::Undo},
    {u"merge", CliCommand::Merge},
};

// Qt's own command-line options, which start the windows; those marked take
// the next word as their value unless given as "-name=value". Qt reads
// "--name" as "-name" too.
struct QtOption {
    QStringView name;
    bool takesValue;
};
constexpr QtOption kQtOptions[] = {
    {u"platform", true},
    {u"platformpluginpath", true},
    {u"platformtheme", true},
    {u"plugin", true},
    {u"qwindowgeometry", true},
    {u"geometry", true},
    {u"qwindowtitle", true},
    {u"title", true},
    {u"qwindowicon", true},
    {u"icon", true},
    {u"style", true},
    {u"stylesheet", true},
    {u"session", true},
    {u"display", true},
    {u"name", true},
    {u"qmljsdebugger", true},
    {u"reverse", false},
    {u"widgetcount", false},
    {u"nograb", false},
    {u"dograb", false},
    {u"sync", false},
    {u"testability", false},
};

// Qt's option `word` names, or none.
const QtOption* qtOption(QStringView word) {
    if (word.startsWith(u"--"))
        word = word.mid(1);
    if (word.size() < 2 || !word.startsWith(u'-'))
        return nullptr;
    word = word.mid(1);
    const qsizetype eq = word.indexOf(u'=');
    for (const QtOption& option : kQtOptions) {
        if (eq < 0 ? word == option.name : option.takesValue && word.left(eq) == option.name)
            return &option;
    }
    return nullptr;
}

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

QString commandWord(CliCommand command) {
    for (const CommandWord& entry : kCommandWords) {
        if (entry.command == command)
            return entry.word.toString();
    }
    return {};
}

// Whether the command takes the option at all.
bool takesOption(CliCommand command, const QString& name) {
    if (name == kMonth)
        return command == CliCommand::Report;
    if (name == kFormat)
        return command == CliCommand::Report || command == CliCommand::Status;
    return command == CliCommand::In || command == CliCommand::Out;
}

std::optional<CliError> takeFormat(const QString& value, CliRequest& request) {
    const auto format = formatNamed(value);
    if (!format)
        return usageError(CliText::tr("unknown format '%1'; use text, csv or json").arg(value));
    if (request.command == CliCommand::Status && *format == CliFormat::Csv)
        return usageError(CliText::tr("status prints text or json, not csv"));
    request.format = *format;
    return std::nullopt;
}

// Takes one "--name value" or "--name=value" option at args[i] into the
// request, moving i past its value.
std::optional<CliError> takeOption(const QStringList& args, qsizetype& i, CliRequest& request) {
    const QString& word = args[i];
    const qsizetype eq = word.indexOf(u'=');
    const QString name = eq < 0 ? word : word.left(eq);
    if (name != kMonth && name != kFormat && name != kAt)
        return usageError(CliText::tr("unknown option '%1'").arg(name));
    if (!takesOption(request.command, name))
        return usageError(
            CliText::tr("%1 takes no option '%2'").arg(commandWord(request.command), name));
    QString value;
    if (eq >= 0)
        value = word.mid(eq + 1);
    else if (i + 1 < args.size() && !isOption(args[i + 1]))
        value = args[++i];
    if (value.isEmpty())
        return usageError(CliText::tr("option '%1' needs a value").arg(name));
    if (name == kMonth)
        request.month = value;
    else if (name == kAt)
        request.at = value;
    else
        return takeFormat(value, request);
    return std::nullopt;
}

std::optional<CliError> takeWords(const QStringList& words, CliRequest& request) {
    if (request.command != CliCommand::Report) {
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
    return !qtOption(firstArg) && firstArg != kBackgroundOption;
}

std::optional<CliError> windowArgsError(const QStringList& args) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QtOption* option = qtOption(args[i]);
        if (args[i] == kBackgroundOption)
            continue;
        if (!option)
            return usageError(isOption(args[i])
                                  ? CliText::tr("unknown option '%1'").arg(args[i])
                                  : CliText::tr("unexpected argument '%1'").arg(args[i]));
        if (option->takesValue && !args[i].contains(u'=') && ++i == args.size())
            return usageError(CliText::tr("option '%1' needs a value").arg(args[i - 1]));
    }
    return std::nullopt;
}

std::optional<CalDate> atTime(const QString& text, const CalDate& now) {
    static const QRegularExpression time(QStringLiteral("^(\\d\\d):(\\d\\d)$"));
    static const QRegularExpression dateTime(
        QStringLiteral("^(\\d{4})-(\\d\\d)-(\\d\\d)[ T](\\d\\d):(\\d\\d)$"));
    QString compact;
    if (const QRegularExpressionMatch m = time.match(text); m.hasMatch())
        compact = now.format(CalFormat::Compact).left(8) + m.captured(1) + m.captured(2);
    else if (const QRegularExpressionMatch d = dateTime.match(text); d.hasMatch())
        compact = d.captured(1) + d.captured(2) + d.captured(3) + d.captured(4) + d.captured(5);
    else
        return std::nullopt;
    // The strict parse refuses hour 24, 30 February and the like.
    return CalDate::parse(compact + QLatin1String("00"), CalFormat::Compact);
}

std::variant<CliRequest, CliError> parseCliArgs(const QStringList& args) {
    if (args.isEmpty())
        return usageError(CliText::tr("missing command"));
    CliRequest request;
    const QString& first = args.first();
    const auto named = std::find_if(std::begin(kCommandWords), std::end(kCommandWords),
                                    [&](const CommandWord& entry) { return entry.word == first; });
    if (named != std::end(kCommandWords))
        request.command = named->command;
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
