// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tools/convert/ResultWriter.h"

using namespace Qt::Literals::StringLiterals;

namespace convert {

namespace {

const QStringList &fieldNames()
{
    static const QStringList names{u"number"_s, u"line"_s, u"score"_s, u"words"_s, u"offensive"_s};
    return names;
}

void appendTsvField(const QString &field, QByteArray &out)
{
    QString escaped;
    escaped.reserve(field.size());
    for (const QChar c : field) {
        switch (c.unicode()) {
        case u'\\':
            escaped += u"\\\\";
            break;
        case u'\t':
            escaped += u"\\t";
            break;
        case u'\n':
            escaped += u"\\n";
            break;
        case u'\r':
            escaped += u"\\r";
            break;
        default:
            escaped += c;
        }
    }
    out += escaped.toUtf8();
}

void appendCsvField(const QString &field, QByteArray &out)
{
    const bool quoted = field.contains(u',') || field.contains(u'"') || field.contains(u'\r')
                        || field.contains(u'\n');
    if (!quoted) {
        out += field.toUtf8();
        return;
    }
    out += '"';
    out += QString(field).replace(u'"', u"\"\""_s).toUtf8();
    out += '"';
}

void appendJsonString(const QString &text, QByteArray &out)
{
    QString escaped;
    escaped.reserve(text.size() + 2);
    escaped += u'"';
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit == u'"' || unit == u'\\') {
            escaped += u'\\';
            escaped += c;
        } else if (unit < 0x20 || unit == 0x7f || unit == 0x2028 || unit == 0x2029) {
            // Control characters, and the line and paragraph separators that
            // end a line for some readers of JSON Lines.
            escaped += u"\\u%1"_s.arg(int(unit), 4, 16, QChar(u'0'));
        } else {
            escaped += c;
        }
    }
    escaped += u'"';
    out += escaped.toUtf8();
}

} // namespace

ResultWriter::ResultWriter(OutputFormat format, bool markOffensive, bool explain)
    : m_format(format)
    , m_markOffensive(markOffensive)
    , m_explain(explain)
{}

QByteArray ResultWriter::header() const
{
    if (m_format != OutputFormat::Tsv && m_format != OutputFormat::Csv)
        return {};
    QStringList names = fieldNames();
    if (m_explain)
        names += scorePartNames();
    const bool csv = m_format == OutputFormat::Csv;
    return (names.join(csv ? u',' : u'\t') + (csv ? u"\r\n"_s : u"\n"_s)).toUtf8();
}

void ResultWriter::append(const ResultRecord &record, QByteArray &out) const
{
    switch (m_format) {
    case OutputFormat::Text: {
        out += record.line.toUtf8();
        if (m_markOffensive && record.offensive > 0)
            out += " [!]";
        if (m_explain) {
            out += "\tscore " + QByteArray::number(record.score);
            const char *separator = ": ";
            for (const ScorePart &part : record.parts) {
                out += separator + part.name.toUtf8() + ' ' + QByteArray::number(part.value);
                separator = ", ";
            }
        }
        out += '\n';
        return;
    }
    case OutputFormat::Tsv:
    case OutputFormat::Csv: {
        const bool csv = m_format == OutputFormat::Csv;
        const char separator = csv ? ',' : '\t';
        QStringList fields{record.number,
                           record.line,
                           QString::number(record.score),
                           record.words.join(u' '),
                           QString::number(record.offensive)};
        for (const ScorePart &part : record.parts)
            fields.append(QString::number(part.value));
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (i > 0)
                out += separator;
            if (csv)
                appendCsvField(fields[i], out);
            else
                appendTsvField(fields[i], out);
        }
        out += csv ? "\r\n" : "\n";
        return;
    }
    case OutputFormat::Json: {
        out += "{\"number\":";
        appendJsonString(record.number, out);
        out += ",\"line\":";
        appendJsonString(record.line, out);
        out += ",\"score\":" + QByteArray::number(record.score) + ",\"words\":[";
        for (qsizetype i = 0; i < record.words.size(); ++i) {
            if (i > 0)
                out += ',';
            appendJsonString(record.words[i], out);
        }
        out += "],\"offensive\":" + QByteArray::number(record.offensive);
        if (m_explain) {
            out += ",\"explain\":{";
            for (qsizetype i = 0; i < record.parts.size(); ++i) {
                if (i > 0)
                    out += ',';
                appendJsonString(record.parts[i].name, out);
                out += ':' + QByteArray::number(record.parts[i].value);
            }
            out += '}';
        }
        out += "}\n";
        return;
    }
    }
}

} // namespace convert
