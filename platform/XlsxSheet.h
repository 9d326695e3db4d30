// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/BlockArray.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace platform {

// One worksheet collected in memory and written as a one-sheet .xlsx
// workbook. Every cell holds text and is written as text (never a formula or
// a number). Rows and columns count from 1.
class XlsxSheet
{
public:
    static constexpr int MaxRows = 1048576;
    static constexpr int MaxColumns = 16384;
    static constexpr int MaxTextLength = 32767;
    // The widest a column can be, in characters.
    static constexpr double MaxColumnWidth = 255;

    // Throws core::Failure for a cell outside the sheet or a text longer
    // than a cell holds. An empty text leaves the cell empty.
    void setCell(int row, int column, const QString &text);
    QString cell(int row, int column) const;
    int rowCount() const { return m_rowCount; }
    int columnCount() const { return m_columns; }

    // Fitted columns get the width of their longest text when written.
    void fitColumn(int column);
    void fitAllColumns() { m_fitAll = true; }
    // The width a fitted column gets, in characters; 0 for a column that
    // keeps the default width (not fitted, or without text).
    double columnWidth(int column) const;

    // Writes the workbook to `path`, replacing any file there. Throws
    // core::Failure naming the file when it cannot be written.
    // On the thread of a running application the file is written on a worker
    // while this thread processes its events.
    void save(const QString &path) const;

private:
    // Writes the file; returns a failure's description, or the empty text.
    QString write(const QString &path) const;

    // A cell as set: its place and where its text lies in the pages.
    struct Cell
    {
        qint32 row;
        qint16 column;
        qint16 size;
        qint32 page;
        qint32 start;
    };
    // Texts are kept in pages of this many characters.
    static constexpr qsizetype PageChars = qsizetype(1) << 20;

    QStringView textOf(const Cell &cell) const;
    // The cells that hold their place's last text, by row and column.
    std::vector<std::size_t> cellsInOrder() const;
    // The longest text of each column (index 0 unused).
    QList<qsizetype> longestTexts(const std::vector<std::size_t> &cells) const;
    static double fittedWidth(qsizetype longest);

    // The cells in the order they were set, in blocks that never move, their
    // texts one after another in large pages: a sheet of a million cells grows
    // without copying and is freed in no time.
    core::BlockArray<Cell> m_cells;
    std::vector<QString> m_pages;
    int m_rowCount = 0;
    int m_columns = 0;
    QSet<int> m_fitted;
    bool m_fitAll = false;
};

} // namespace platform
