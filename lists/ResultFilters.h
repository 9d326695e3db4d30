// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

class QString;

namespace core {
class ItemListModel;
} // namespace core

namespace lists {

// Remove every item whose own text contains / does not contain `text`,
// ignoring case (both lower-cased). The items that stay keep their order.
// Throws core::Failure if the list changes under them.
void removeItemsContaining(core::ItemListModel &list, const QString &text);
void removeItemsNotContaining(core::ItemListModel &list, const QString &text);

} // namespace lists
