#include "platform/texts.h"

#include <QCoreApplication>

namespace fennick {

QString localized(const TextKey& key) {
    const QString found = QCoreApplication::translate("InfoPlist", key.key);
    if (found.isEmpty() || found == QLatin1String(key.key))
        return QString::fromUtf8(key.fallback);
    return found;
}

namespace {

// Length of an integer placeholder ("%d", "%02d", "%-3i" ...) at pos, or 0.
qsizetype intPlaceholderLength(const QString& format, qsizetype pos) {
    qsizetype i = pos + 1;
    while (i < format.size() && (format[i] == u'0' || format[i] == u'-' || format[i] == u'+' ||
                                 format[i] == u' '))
        ++i;
    while (i < format.size() && format[i].isDigit() && format[i].unicode() < 0x80)
        ++i;
    if (i < format.size() && (format[i] == u'd' || format[i] == u'i'))
        return i - pos + 1;
    return 0;
}

QString formatInt(QStringView spec, long long value) {
    bool zeroPad = false;
    bool leftAlign = false;
    qsizetype i = 1;
    for (; i < spec.size() && !spec[i].isDigit(); ++i) {
        zeroPad |= spec[i] == u'0';
        leftAlign |= spec[i] == u'-';
    }
    for (; i < spec.size() && spec[i] == u'0'; ++i)
        zeroPad = true;
    int width = 0;
    for (; i < spec.size() && spec[i].isDigit(); ++i)
        width = std::min(width * 10 + spec[i].digitValue(), 64);
    QString digits = QString::number(value < 0 ? -value : value);
    const QString sign = value < 0 ? QStringLiteral("-") : QString();
    const qsizetype pad = std::max<qsizetype>(0, width - digits.size() - sign.size());
    if (leftAlign)
        return sign + digits + QString(pad, u' ');
    if (zeroPad)
        return sign + QString(pad, u'0') + digits;
    return QString(pad, u' ') + sign + digits;
}

QString fill(const QString& format, const QString* word, std::initializer_list<long long> values) {
    QString out;
    out.reserve(format.size() + 16);
    auto next = values.begin();
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != u'%' || i + 1 >= format.size()) {
            out += format[i];
            continue;
        }
        const QChar c = format[i + 1];
        if (c == u'%') {
            out += u'%';
            ++i;
        } else if (c == u'@' && word) {
            out += *word;
            ++i;
        } else if (const qsizetype n = intPlaceholderLength(format, i); n && next != values.end()) {
            out += formatInt(QStringView(format).mid(i, n), *next++);
            i += n - 1;
        } else {
            out += format[i];
        }
    }
    return out;
}

// Index of the first integer placeholder of a format, or -1.
qsizetype firstIntPlaceholder(const QString& format) {
    for (qsizetype i = 0; i + 1 < format.size(); ++i) {
        if (format[i] != u'%')
            continue;
        if (format[i + 1] == u'%')
            ++i;
        else if (intPlaceholderLength(format, i))
            return i;
    }
    return -1;
}

} // namespace

QString fillWord(const QString& format, const QString& word) { return fill(format, &word, {}); }

QString fillInts(const QString& format, std::initializer_list<long long> values) {
    return fill(format, nullptr, values);
}

DurationParts splitDuration(std::int64_t v) {
    const std::int64_t wholeMinutes = v / 60;
    return DurationParts{wholeMinutes / 60, wholeMinutes % 60, v % 60};
}

QString fillDuration(const QString& format, std::int64_t seconds) {
    const DurationParts p = splitDuration(seconds < 0 ? -seconds : seconds);
    QString out = fillInts(format, {p.hours, p.minutes, p.seconds});
    if (seconds >= 0)
        return out;
    // The sign goes in front of the first number the format produces.
    const qsizetype first = firstIntPlaceholder(format);
    const qsizetype at = first < 0 ? 0 : fill(format.left(first), nullptr, {}).size();
    out.insert(at, u'-');
    return out;
}

} // namespace fennick
