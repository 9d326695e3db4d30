// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace testsupport {

// The records of a CSV text as RFC 4180 defines it: fields separated by
// commas, records ended by CR LF; a field in double quotes may hold commas,
// CR, LF and quotes doubled. nullopt for a text that breaks those rules (a
// quote inside a field without quotes, text after a closing quote, an open
// quote at the end, a bare CR or LF between records).
inline std::optional<QList<QStringList>> readCsv(const QString &text)
{
    QList<QStringList> records;
    QStringList record;
    QString field;
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size) {
        if (text[i] == u'"') {
            for (++i;; ++i) {
                if (i >= size)
                    return std::nullopt;
                if (text[i] == u'"') {
                    if (i + 1 < size && text[i + 1] == u'"') {
                        field += u'"';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i];
            }
        } else {
            while (i < size && text[i] != u',' && text[i] != u'\r' && text[i] != u'\n') {
                if (text[i] == u'"')
                    return std::nullopt;
                field += text[i++];
            }
        }
        record.append(field);
        field.clear();
        if (i < size && text[i] == u',') {
            ++i;
            if (i == size)
                return std::nullopt;
            continue;
        }
        if (i + 1 < size && text[i] == u'\r' && text[i + 1] == u'\n') {
            i += 2;
            records.append(record);
            record.clear();
            continue;
        }
        if (i < size)
            return std::nullopt;
    }
    if (!record.isEmpty())
        records.append(record); // a last record without its line end
    return records;
}

} // namespace testsupport
