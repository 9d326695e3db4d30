// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/ItemListModel.h"

#include <QList>
#include <QObject>

#include <functional>

class QMenu;

namespace core {
class Dialogs;
}

namespace app {

class ItemListView;

class OptionSettings;

// The order the results list shows: "As found" (the order the run found the
// lines), "Best first", "A to Z" or "Best number first" (each number's best
// line, the numbers best first). Clicking the list's header toggles between
// "As found" and "Best first" and the header shows a sort indicator; the
// list's context menu offers all four under a line that counts the results.
// The choice is remembered in the settings store.
class ResultsOrderControl : public QObject
{
    Q_OBJECT

public:
    using Order = core::ItemListModel::Order;

    // `bestFirstRank` gives the rank of "Best first" over the words the
    // window converts with. An order that cannot be shown for lack of memory
    // is said through `dialogs`, and the list keeps its order.
    ResultsOrderControl(ItemListView &view,
                        core::ItemListModel &results,
                        OptionSettings &settings,
                        core::Dialogs &dialogs,
                        std::function<core::ItemListModel::Rank()> bestFirstRank);

    // Takes the stored order ("As found" when there is none or it is unknown).
    void restore();
    void setOrder(Order order);
    // The order asked for, which a long list shows once it is built.
    Order order() const { return m_results.wantedOrder(); }

    // The context menu: the count, then the four orders, then the choices
    // added with addMenuChoices(), each after a separator.
    void fillMenu(QMenu &menu);
    void addMenuChoices(std::function<void(QMenu &)> fill)
    {
        m_moreChoices.append(std::move(fill));
    }
    // "4,384 results, 4,380 ticked", and ", 12 hidden" when lines are hidden.
    static QString countLine(qint64 results, qint64 ticked, qint64 hidden = 0);

private:
    void showOrder();

    ItemListView &m_view;
    core::ItemListModel &m_results;
    OptionSettings &m_settings;
    core::Dialogs &m_dialogs;
    std::function<core::ItemListModel::Rank()> m_bestFirstRank;
    bool m_ranked = false; // the list has the ranking of "Best first"
    QList<std::function<void(QMenu &)>> m_moreChoices;
};

} // namespace app
