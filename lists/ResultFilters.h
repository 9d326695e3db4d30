#pragma once

class QString;

namespace lists {

class ItemListModel;

// Remove every item whose own text contains / does not contain `text`,
// ignoring case (both lower-cased). The items that stay keep their order.
// Throws engine::Failure if the list changes under them.
void RemoveItemsContaining(ItemListModel &list, const QString &text);
void RemoveItemsNotContaining(ItemListModel &list, const QString &text);

} // namespace lists
