// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>

class QMenu;

namespace core {
class Clipboard;
class Dialogs;
class ItemListModel;
} // namespace core

namespace app {

class ItemListView;

// The number list's context menu: "Copy as digits" puts what the selected
// items dial (letters turned into their keys' digits) on the clipboard, one
// a line; it is disabled while no item is selected.
class NumberListMenu : public QObject
{
    Q_OBJECT

public:
    NumberListMenu(ItemListView &view,
                   const core::ItemListModel &numbers,
                   core::Clipboard &clipboard,
                   core::Dialogs &dialogs);

    void fillMenu(QMenu &menu);
    void copyAsDigits();

private:
    QList<int> selectedRows() const;

    ItemListView &m_view;
    const core::ItemListModel &m_numbers;
    core::Clipboard &m_clipboard;
    core::Dialogs &m_dialogs;
};

} // namespace app
