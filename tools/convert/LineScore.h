// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace engine {
class LineRanking;
class WordStore;
} // namespace engine

// The score of a result line as the converter prints it, and what it is made
// of: the one place that turns the ranking of a number's lines into numbers.
namespace convert {

// The score of a line of the ranking's number: larger is better.
quint32 scoreOf(const engine::LineRanking &ranking, QStringView line);

struct ScorePart
{
    QString name;
    qint64 value = 0;
};

// The names of the parts explainScore() gives, in its order.
const QStringList &scorePartNames();

// What the ranking weighs in a line: its pieces, the letters in its words,
// its longest word, the rarity classes of its words added up (0 for the
// commonest), and whether it keeps the number's typed prefix as digits (1)
// or not (0).
QList<ScorePart>
explainScore(const engine::LineRanking &ranking, const engine::WordStore &words, QStringView line);

} // namespace convert
