// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/Spreadsheet.h"

#include <QMap>
#include <QPair>
#include <QSet>
#include <QString>

// A spreadsheet application that keeps the cells it is given.
class FakeSpreadsheet : public core::Spreadsheet
{
public:
    bool available = true;
    bool failCreate = false;
    int created = 0;
    int workbooks = 0;
    bool visible = false;
    QMap<QPair<int, int>, QString> cells;
    QSet<int> fittedColumns;
    bool fittedAll = false;

    bool isAvailable() const override { return available; }
    std::unique_ptr<core::SpreadsheetApplication> create() override;
};
