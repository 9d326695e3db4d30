// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/ItemListModel.h"

#include <QList>
#include <QStringList>

// One row of a test list: its column texts and its checked mark.
struct TestRow
{
    QStringList texts;
    bool checked = true;
};
using TestRows = QList<TestRow>;

inline void fillList(core::ItemListModel &list, const QStringList &headers, const TestRows &rows)
{
    list.clear();
    list.setHeaders(headers);
    for (const TestRow &row : rows)
        list.appendRow(row.texts, row.checked);
}

Q_DECLARE_METATYPE(TestRows)
