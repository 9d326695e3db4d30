// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/Spreadsheet.h"

#include <QString>
#include <QStringList>

namespace platform {

// The spreadsheet application as a workbook file and a spreadsheet program:
// the cells are collected in memory; making the workbook visible writes it as
// a new .xlsx file and opens it in the program as a new, untitled document,
// which the user saves or discards there.
class XlsxSpreadsheet : public core::Spreadsheet
{
public:
    struct Options
    {
        // The programs that can show the workbook, the first found wins: names
        // looked up on the PATH, or full paths.
        QStringList programs{
            QStringLiteral("soffice"), QStringLiteral("libreoffice"), QStringLiteral("localc")};
        // The program's arguments before the workbook's path.
        QStringList arguments{QStringLiteral("--calc"), QStringLiteral("-n")};
        // Where the workbook files go; empty for the user's cache folder.
        QString folder;
        // Workbook files left there by earlier exports are removed once they
        // are this old (the program has long read them by then).
        int keepDays = 1;
    };

    XlsxSpreadsheet();
    explicit XlsxSpreadsheet(Options options);

    // Whether one of the programs is found.
    bool isAvailable() const override;
    // Throws core::Failure when none of the programs is found.
    std::unique_ptr<core::SpreadsheetApplication> create() override;

    // The full path of the program that would be started, or empty.
    QString program() const;
    // The folder the workbook files go to.
    QString folder() const;

private:
    Options m_options;
};

} // namespace platform
