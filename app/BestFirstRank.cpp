// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/BestFirstRank.h"

#include "engine/LineRanking.h"

#include <atomic>
#include <optional>

namespace app {

core::ItemListModel::Rank bestFirstRank(const engine::WordStore &words)
{
    // Lines come number by number: each thread keeps the ranking of the last
    // number it ranked (the list ranks a long list on several threads). A
    // rank is known by a number of its own, never reused, so a thread's
    // ranking from another rank, whose words may be gone, is never used.
    static std::atomic<quint64> lastRankId{0};
    const quint64 id = ++lastRankId;
    return [&words, id](QStringView line, QStringView number) -> quint32 {
        struct Last
        {
            quint64 rankId = 0;
            QString number;
            std::optional<engine::LineRanking> ranking;
        };
        thread_local Last last;
        if (last.rankId != id || !last.ranking || last.number != number) {
            last.rankId = id;
            last.number = number.toString();
            last.ranking.emplace(words, number);
        }
        return last.ranking->key(line);
    };
}

} // namespace app
