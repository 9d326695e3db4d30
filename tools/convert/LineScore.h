// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace engine {
class LineRanking;
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

// The parts the ranking weighs in a line (engine::LineScore::parts()): its
// tier, pieces, letters, longest word, commonness, the layout of its digits
// and its typed prefix; whole numbers, 1 and 0 for yes and no.
QList<ScorePart> explainScore(const engine::LineRanking &ranking, QStringView line);

} // namespace convert
