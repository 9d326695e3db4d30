// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace core {
class ItemListModel;
}

namespace engine {
class WordStore;
}

namespace app {

class ItemListView;

// Tool tips of single rows of a list view: over a row for which `textOf`
// gives a text, that text shows; elsewhere the list's own tool tip. Installed
// on the view's viewport, it lives as long as the view.
class ListToolTips : public QObject
{
    Q_OBJECT

public:
    ListToolTips(ItemListView &view, std::function<QString(int row)> textOf);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ItemListView &m_view;
    std::function<QString(int row)> m_textOf;
};

// A number-list item holding letters: the digits it dials, and the letters
// not dialled or on no key. The empty text for an item without letters.
QString numberToolTip(const core::ItemListModel &numbers, int row);

// A result line while a ranked order shows: its score and the parts it is
// made of. The empty text in other orders and for a line that does not fit
// its number (a spelled-out line).
QString resultToolTip(const core::ItemListModel &results, const engine::WordStore &words, int row);

} // namespace app
