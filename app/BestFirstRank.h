// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/ItemListModel.h"

namespace engine {
class WordStore;
}

namespace app {

// The rank of "Best first" for the results list: each line ranked among the
// lines of the number it came from (its group), with the words' commonness
// from `words`, which must outlive the rank.
core::ItemListModel::Rank bestFirstRank(const engine::WordStore &words);

} // namespace app
