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
// store, or when the table or column is missing; the words added before the
// failure stay in the store.
void loadWords(core::Connection &connection, WordStore &store);

} // namespace engine
