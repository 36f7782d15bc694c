#include "reports/csv.h"

namespace fennick {

namespace {

void appendRecord(QString& out, const QStringList& fields) {
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += u',';
        out += csvField(fields[i]);
    }
    out += QLatin1String("\r\n");
}

} // namespace

QString csvField(const QString& text) {
    const bool quote =
        text.contains(u',') || text.contains(u'"') || text.contains(u'\r') || text.contains(u'\n');
    if (!quote)
        return text;
    QString quoted = text;
    quoted.replace(u'"', QLatin1String("\"\""));
    return u'"' + quoted + u'"';
}

QString toCsv(const QStringList& headings, const DspRows& rows,
              const std::optional<QString>& totalLine) {
    QString out;
    if (!headings.isEmpty())
        appendRecord(out, headings);
    for (const myDspData& row : rows)
        appendRecord(out, {row.keyDateStr, row.dataStr});
    if (totalLine) {
        const qsizetype tab = totalLine->indexOf(u'\t');
        if (tab < 0)
            appendRecord(out, {*totalLine, QString()});
        else
            appendRecord(out, {totalLine->left(tab).trimmed(), totalLine->mid(tab + 1)});
    }
    return out;
}

QString toTabSeparated(const QList<QStringList>& rows) {
    QString out;
    for (const QStringList& row : rows) {
        QStringList fields;
        for (QString field : row) {
            for (QChar& c : field) {
                if (c == u'\t' || c == u'\n' || c == u'\r')
                    c = u' ';
            }
            fields << field;
        }
        out += fields.join(u'\t') + u'\n';
    }
    return out;
}

} // namespace fennick
