// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "platform/XlsxSheet.h"

#include "core/Failure.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>
#include <thread>
#include <xlsxwriter.h>

using namespace Qt::Literals::StringLiterals;

namespace platform {

namespace {

// Readers decode "_xHHHH_" in a cell's text as the character HHHH; a text that
// holds such a sequence literally keeps it by escaping its underscore.
QString escapeForXlsx(const QString &text)
{
    if (!text.contains(u"_x"_s))
        return text;
    static const QRegularExpression sequence(u"_(x[0-9A-Fa-f]{4}_)"_s);
    QString escaped = text;
    escaped.replace(sequence, u"_x005F_\\1"_s);
    return escaped;
}

QString xlsxError(lxw_error error)
{
    return QString::fromUtf8(lxw_strerror(error));
}

} // namespace

void XlsxSheet::setCell(int row, int column, const QString &text)
{
    if (row < 1 || row > MaxRows || column < 1 || column > MaxColumns)
        throw core::Failure(u"Cell (%1, %2) lies outside the sheet, which has %3 rows and %4 "
                            u"columns."_s.arg(QString::number(row),
                                              QString::number(column),
                                              QString::number(MaxRows),
                                              QString::number(MaxColumns)));
    if (text.size() > MaxTextLength)
        throw core::Failure(u"The text for cell (%1, %2) has %3 characters; a cell holds %4 at "
                            u"most."_s.arg(QString::number(row),
                                           QString::number(column),
                                           QString::number(text.size()),
                                           QString::number(MaxTextLength)));
    // An empty text only empties a cell that may hold one.
    if (text.isEmpty() && (row > m_rowCount || column > m_columns))
        return;
    if (m_pages.empty() || m_pages.back().size() + text.size() > PageChars) {
        m_pages.emplace_back();
        m_pages.back().reserve(std::max(PageChars, text.size()));
    }
    QString &page = m_pages.back();
    m_cells.push_back({qint32(row),
                       qint16(column),
                       qint16(text.size()),
                       qint32(m_pages.size() - 1),
                       qint32(page.size())});
    page += text;
    if (!text.isEmpty()) {
        m_rowCount = std::max(m_rowCount, row);
        m_columns = std::max(m_columns, column);
    }
}

QStringView XlsxSheet::textOf(const Cell &cell) const
{
    return QStringView(m_pages[std::size_t(cell.page)]).sliced(cell.start, cell.size);
}

QString XlsxSheet::cell(int row, int column) const
{
    for (std::size_t i = m_cells.size(); i > 0; --i)
        if (m_cells[i - 1].row == row && m_cells[i - 1].column == column)
            return textOf(m_cells[i - 1]).toString();
    return {};
}

// Cells are mostly set in order, once each: then there is nothing to sort.
std::vector<std::size_t> XlsxSheet::cellsInOrder() const
{
    const auto before = [this](std::size_t a, std::size_t b) {
        return std::pair(m_cells[a].row, m_cells[a].column)
               < std::pair(m_cells[b].row, m_cells[b].column);
    };
    std::vector<std::size_t> order(m_cells.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    if (std::adjacent_find(order.begin(),
                           order.end(),
                           [&](std::size_t a, std::size_t b) {
                               return !before(a, b);
                           })
        == order.end())
        return order;
    std::stable_sort(order.begin(), order.end(), before);
    // Of the cells set more than once, the last setting stays.
    std::vector<std::size_t> last;
    last.reserve(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        if (i + 1 == order.size() || before(order[i], order[i + 1]))
            last.push_back(order[i]);
    return last;
}

void XlsxSheet::fitColumn(int column)
{
    if (column < 1 || column > MaxColumns)
        throw core::Failure(u"The sheet has no column %1."_s.arg(QString::number(column)));
    m_fitted.insert(column);
}

double XlsxSheet::columnWidth(int column) const
{
    if (!m_fitAll && !m_fitted.contains(column))
        return 0;
    return fittedWidth(longestTexts(cellsInOrder()).value(column));
}

QList<qsizetype> XlsxSheet::longestTexts(const std::vector<std::size_t> &cells) const
{
    QList<qsizetype> longest(m_columns + 1, 0);
    for (const std::size_t i : cells) {
        const Cell cell = m_cells[i];
        if (cell.column <= m_columns)
            longest[cell.column] = std::max(longest[cell.column], qsizetype(cell.size));
    }
    return longest;
}

double XlsxSheet::fittedWidth(qsizetype longest)
{
    if (longest == 0)
        return 0;
    // A character of a proportional font is a little wider on average than
    // the digit a width unit is measured in.
    return std::min(MaxColumnWidth, double(longest) * 1.1 + 1);
}

QString XlsxSheet::write(const QString &path) const
{
    const QByteArray fileName = QFile::encodeName(path);
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE; // rows are written in order
    lxw_workbook *workbook = workbook_new_opt(fileName.constData(), &options);
    if (!workbook)
        return u"Could not create the workbook '%1'."_s.arg(path);
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, nullptr);

    lxw_error failure = sheet ? LXW_NO_ERROR : LXW_ERROR_MEMORY_MALLOC_FAILED;
    const auto check = [&](lxw_error error) {
        if (failure == LXW_NO_ERROR)
            failure = error;
    };
    if (sheet) {
        const std::vector<std::size_t> cells = cellsInOrder();
        const QList<qsizetype> longest = longestTexts(cells);
        for (int column = 1; column <= m_columns; ++column) {
            const double width =
                m_fitAll || m_fitted.contains(column) ? fittedWidth(longest.at(column)) : 0;
            if (width > 0)
                check(worksheet_set_column(
                    sheet, lxw_col_t(column - 1), lxw_col_t(column - 1), width, nullptr));
        }
        for (const std::size_t i : cells) {
            const Cell cell = m_cells[i];
            if (cell.size == 0)
                continue;
            const QByteArray utf8 = escapeForXlsx(textOf(cell).toString()).toUtf8();
            check(worksheet_write_string(sheet,
                                         lxw_row_t(cell.row - 1),
                                         lxw_col_t(cell.column - 1),
                                         utf8.constData(),
                                         nullptr));
        }
    }
    // The file is written here; most failures only show now.
    check(workbook_close(workbook));
    if (failure != LXW_NO_ERROR) {
        QFile::remove(path);
        return u"Could not write the workbook '%1' (%2)."_s.arg(path, xlsxError(failure));
    }
    return {};
}

void XlsxSheet::save(const QString &path) const
{
    // Writing a full sheet takes seconds. On the thread of a running
    // application a worker writes it while this thread goes on with its
    // events (as the export does at every cell); the sheet is not changed
    // meanwhile, as its owner is waiting here.
    QCoreApplication *application = QCoreApplication::instance();
    QString failure;
    if (application && QThread::currentThread() == application->thread()) {
        QEventLoop waiting;
        std::thread worker([&] {
            failure = write(path);
            QMetaObject::invokeMethod(&waiting, &QEventLoop::quit, Qt::QueuedConnection);
        });
        waiting.exec();
        worker.join();
    } else {
        failure = write(path);
    }
    if (!failure.isEmpty())
        throw core::Failure(failure);
}

} // namespace platform
