// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <functional>

class QString;

namespace core {
class ItemListModel;
} // namespace core

namespace lists {

// Removes the lines of `list` that contain `text` (or do not), letter case
// ignored. The lines are read in steps with `yield` called between them and
// the list changes only at the end, in one step: lines added meanwhile stay,
// and when lines are removed meanwhile the reading starts again.
void removeItemsContaining(core::ItemListModel &list,
                           const QString &text,
                           const std::function<void()> &yield = {});
void removeItemsNotContaining(core::ItemListModel &list,
                              const QString &text,
                              const std::function<void()> &yield = {});

} // namespace lists
