// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// Which stored lines an item list shows: those its line test accepts, and
// under "Best number first" only the best of each group. The lines are
// chosen where the order is built (core/ListOrder.cpp).

#include "core/ItemListModel.h"

namespace core {

void ItemListModel::setShownLines(LineTest shown)
{
    stopBuild();
    m_wantedLine = std::move(shown);
    m_retesting = true;
    const bool permuted = isPermuted(m_wanted, m_wantedLine);
    if (permuted && m_store.size() > OrderAtOnceLines) {
        // The rows shown stay until the worker has chosen the new ones.
        startBuild(m_wanted, false);
        return;
    }
    // At once; a failure for lack of memory leaves the list as it was.
    OrderOutput output;
    try {
        if (permuted)
            buildAtOnce(m_wanted, false, output);
    } catch (const std::bad_alloc &) {
        m_wantedLine = {};
        m_retesting = false;
        resumeBuild();
        throw;
    }
    const bool switching = m_wanted != m_order;
    install(m_wanted, permuted ? m_store.size() : m_placed, output, true);
    if (switching)
        Q_EMIT orderShown();
    showPendingSoon();
}

QString ItemListModel::groupOfRow(int row) const
{
    checkRow(row);
    return groupOf(stored(row)).toString();
}

} // namespace core
