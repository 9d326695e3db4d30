// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/Database.h"

#include "core/Failure.h"

#include <QRegularExpression>
#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace core {

namespace {

const QString JetProvider = u"Microsoft.Jet.OLEDB.4.0"_s;

// Splits "key=value;key=value" into pairs. A piece without "=" continues the
// previous value (a folder name may hold a ";").
QList<std::pair<QString, QString>> connectionPairs(const QString &text)
{
    QList<std::pair<QString, QString>> pairs;
    const QStringList pieces = text.split(u';');
    for (const QString &piece : pieces) {
        const qsizetype equals = piece.indexOf(u'=');
        if (equals < 0) {
            if (!pairs.isEmpty())
                pairs.last().second += u';' + piece;
            else if (!piece.trimmed().isEmpty())
                pairs.append({piece, QString()});
            continue;
        }
        pairs.append({piece.left(equals), piece.mid(equals + 1)});
    }
    return pairs;
}

} // namespace

bool RecordSet::fieldInto(int position, QString &text) const
{
    std::optional<QString> value = field(position);
    if (!value)
        return false;
    text = std::move(*value);
    return true;
}

std::optional<int> RecordSet::fieldWholeNumber(int position) const
{
    const std::optional<QString> value = field(position);
    bool whole = false;
    const int number = value ? value->toInt(&whole) : 0;
    return whole ? std::optional<int>(number) : std::nullopt;
}

QString wordsConnectionText(const QString &applicationFolder)
{
    return u"Provider="_s + JetProvider + u";Data Source= "_s + applicationFolder
           + u"/dbWords.mdb"_s;
}

QString dataSourceOf(const QString &connectionText)
{
    QString provider;
    std::optional<QString> source;
    for (const auto &[key, value] : connectionPairs(connectionText)) {
        const QString name = key.trimmed().toLower();
        if (name == u"provider")
            provider = value.trimmed();
        else if (name == u"data source")
            source = value.trimmed();
    }
    if (provider.compare(JetProvider, Qt::CaseInsensitive) != 0)
        throw Failure(u"Provider cannot be found. It may not be properly installed."_s);
    if (!source || source->isEmpty())
        throw Failure(u"The connection text names no data source."_s);
    return *source;
}

QString tableOfQuery(const QString &query)
{
    static const QRegularExpression form(
        uR"(^\s*select\s+\*\s+from\s+(?:\[([^\[\]]+)\]|([A-Za-z_][A-Za-z0-9_]*))\s*;?\s*$)"_s,
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = form.match(query);
    if (!match.hasMatch())
        throw Failure(
            u"The query '%1' is not supported: only 'select * from <table>' is."_s.arg(query));
    return match.hasCaptured(1) ? match.captured(1) : match.captured(2);
}

namespace dberror {

QString closedObject()
{
    return u"Operation is not allowed when the object is closed."_s;
}

QString openObject()
{
    return u"Operation is not allowed when the object is open."_s;
}

QString noCurrentRecord()
{
    return u"Either BOF or EOF is True, or the current record has been deleted. Requested "
           "operation requires a current record."_s;
}

QString noSuchField()
{
    return u"Item cannot be found in the collection corresponding to the requested name or "
           "ordinal."_s;
}

QString tableNotFound(const QString &table)
{
    return u"Table '%1' not found."_s.arg(table);
}

} // namespace dberror

} // namespace core
