// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "lists/ResultFilters.h"

#include "core/ItemListModel.h"

#include <QList>
#include <QString>

namespace lists {

namespace {

// One pass collects the matching positions, then they go from the last up.
void removeItems(core::ItemListModel &list, const QString &text, bool containing)
{
    const QString needle = text.toLower();
    const int count = list.rows();
    QList<int> positions;
    for (int row = 0; row < count; ++row) {
        if (list.text(row).toLower().contains(needle) == containing)
            positions.append(row);
    }
    list.removeSorted(positions);
}

} // namespace

void removeItemsContaining(core::ItemListModel &list, const QString &text)
{
    removeItems(list, text, true);
}

void removeItemsNotContaining(core::ItemListModel &list, const QString &text)
{
    removeItems(list, text, false);
}

} // namespace lists
