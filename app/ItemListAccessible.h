// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

namespace app {

// Makes screen readers see an ItemListView as a list whose items are its
// rows (their text, whether they are ticked and selected). Installed once,
// by the first view.
void installItemListAccessible();

} // namespace app
