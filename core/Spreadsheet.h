// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include <memory>

namespace core {

// One running spreadsheet application with its new workbook's active sheet.
// Rows and columns count from 1. Every member throws core::Failure when the
// application refuses.
class SpreadsheetApplication
{
public:
    virtual ~SpreadsheetApplication() = default;
    virtual void addWorkbook() = 0;
    virtual void setCell(int row, int column, const QString &text) = 0;
    virtual void autofitColumn(int column) = 0;
    virtual void autofitAllColumns() = 0;
    // Shows the workbook to the user, who saves or discards it there.
    virtual void makeVisible() = 0;
};

// Starts the spreadsheet application.
class Spreadsheet
{
public:
    virtual ~Spreadsheet() = default;
    // Whether the application can be created at all.
    virtual bool isAvailable() const = 0;
    // Throws core::Failure when the application cannot be created.
    virtual std::unique_ptr<SpreadsheetApplication> create() = 0;
};

} // namespace core
