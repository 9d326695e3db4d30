// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/NumberListMenu.h"

#include "app/ItemListView.h"
#include "core/Dialogs.h"
#include "core/ItemListModel.h"
#include "engine/DialledNumber.h"
#include "output/ClipboardCopy.h"

#include <QMenu>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace app {

NumberListMenu::NumberListMenu(ItemListView &view,
                               const core::ItemListModel &numbers,
                               core::Clipboard &clipboard,
                               core::Dialogs &dialogs)
    : QObject(&view)
    , m_view(view)
    , m_numbers(numbers)
    , m_clipboard(clipboard)
    , m_dialogs(dialogs)
{
    view.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&view, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        QMenu menu(&m_view);
        fillMenu(menu);
        menu.exec(m_view.viewport()->mapToGlobal(at));
    });
}

void NumberListMenu::fillMenu(QMenu &menu)
{
    QAction *copy = menu.addAction(u"Copy as digits"_s);
    copy->setEnabled(!selectedRows().isEmpty());
    connect(copy, &QAction::triggered, this, &NumberListMenu::copyAsDigits);
}

QList<int> NumberListMenu::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_view.selectionModel()->selectedRows())
        if (index.row() < m_numbers.rows())
            rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void NumberListMenu::copyAsDigits()
{
    QStringList lines;
    for (const int row : selectedRows())
        lines.append(engine::dialledNumber(m_numbers.text(row)).digits);
    if (lines.isEmpty())
        return;
    output::clearClipboard(m_clipboard);
    if (!output::setClipboardText(m_clipboard, lines.join(u'\n')))
        m_dialogs.message(u"The clipboard did not take the digits. Please try again."_s);
}

} // namespace app
