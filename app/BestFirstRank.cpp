// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/BestFirstRank.h"

#include "engine/LineRanking.h"

#include <memory>
#include <optional>

namespace app {

core::ItemListModel::Rank bestFirstRank(const engine::WordStore &words)
{
    // Lines come number by number: the ranking of the last number is kept.
    struct Last
    {
        QString number;
        std::optional<engine::LineRanking> ranking;
    };
    auto last = std::make_shared<Last>();
    return [&words, last](QStringView line, QStringView number) -> quint32 {
        if (!last->ranking || last->number != number) {
            last->number = number.toString();
            last->ranking.emplace(words, number);
        }
        return last->ranking->key(line);
    };
}

} // namespace app
