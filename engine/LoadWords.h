// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

namespace core {
class Connection;
}

namespace engine {

class WordStore;

// Reads the third column (position 2) of every row of the table `words` on an
// open connection, lower-cased, into `store`, in the order of the rows. Stops
// with a Failure at the first null value, at the first word already in the
// store, at a damaged row, or when the table or column is missing; the words
// added before the failure stay in the store.
//
// When the table has a column named "Commonness" (in any case), its whole
// numbers are the words' commonness levels; a null or any other value there
// means no level (0). Without the column every word has level 0. A column
// named "Offensive" the same way gives how offensive each word is (0, 1 or 2;
// larger numbers count as 2, anything else as 0).
void loadWords(core::Connection &connection, WordStore &store);

} // namespace engine
