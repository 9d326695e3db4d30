// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "tools/convert/LineScore.h"
#include "tools/convert/Options.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace convert {

// One result line with what the machine-readable formats say of it.
struct ResultRecord
{
    QString number; // as typed
    QString line;
    quint32 score = 0;
    QStringList words;
    int offensive = 0; // the highest rating among the words
    QList<ScorePart> parts;
};

// Writes result records in one output format, as UTF-8:
// - text: the line alone (with " [!]" after a line rated offensive when
//   marking, and a TAB and the score's parts when explaining), LF;
// - tsv: a header row, then the fields separated by TABs, LF; a backslash,
//   TAB, LF or CR inside a field is written \\, \t, \n or \r;
// - csv: as RFC 4180: a header row, fields separated by commas, a field
//   holding a comma, quote, CR or LF in quotes with its quotes doubled, CR LF;
// - json: one object a line (JSON Lines), LF; the words an array, the parts
//   an object "explain".
// The fields: number, line, score, words (joined by a blank in tsv and csv),
// offensive, then the parts when explaining.
class ResultWriter
{
public:
    ResultWriter(OutputFormat format, bool markOffensive, bool explain);

    // Whether records need more than their line.
    bool needsFields() const { return m_format != OutputFormat::Text || m_explain; }
    // The header row, empty for text and json.
    QByteArray header() const;
    void append(const ResultRecord &record, QByteArray &out) const;

private:
    OutputFormat m_format;
    bool m_markOffensive;
    bool m_explain;
};

} // namespace convert
