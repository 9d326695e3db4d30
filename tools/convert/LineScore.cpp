// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tools/convert/LineScore.h"

#include "engine/LineRanking.h"
#include "engine/LineScore.h"

namespace convert {

quint32 scoreOf(const engine::LineRanking &ranking, QStringView line)
{
    return quint32(engine::LineScore::scoreOf(ranking.key(line)));
}

const QStringList &scorePartNames()
{
    static const QStringList names = [] {
        QStringList all;
        for (const auto &[name, value] : engine::LineScore().parts())
            all.append(name);
        return all;
    }();
    return names;
}

QList<ScorePart> explainScore(const engine::LineRanking &ranking, QStringView line)
{
    QList<ScorePart> parts;
    for (const auto &[name, value] : ranking.explain(line).parts())
        parts.append(ScorePart{name, value.toLongLong()});
    return parts;
}

} // namespace convert
