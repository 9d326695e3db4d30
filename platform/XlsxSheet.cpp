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
    if (m_rows.size() < row) {
        if (text.isEmpty())
            return;
        m_rows.resize(row);
    }
    QStringList &cells = m_rows[row - 1];
    if (cells.size() < column) {
        if (text.isEmpty())
            return;
        cells.resize(column);
    }
    cells[column - 1] = text;
    m_columns = std::max(m_columns, column);
}

QString XlsxSheet::cell(int row, int column) const
{
    if (row < 1 || row > m_rows.size() || column < 1)
        return {};
    return m_rows.at(row - 1).value(column - 1);
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
    qsizetype longest = 0;
    for (const QStringList &cells : m_rows)
        if (column <= cells.size())
            longest = std::max(longest, cells.at(column - 1).size());
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
        for (int column = 1; column <= m_columns; ++column) {
            const double width = columnWidth(column);
            if (width > 0)
                check(worksheet_set_column(
                    sheet, lxw_col_t(column - 1), lxw_col_t(column - 1), width, nullptr));
        }
        for (qsizetype row = 0; row < m_rows.size(); ++row) {
            const QStringList &cells = m_rows.at(row);
            for (qsizetype column = 0; column < cells.size(); ++column) {
                const QString &text = cells.at(column);
                if (text.isEmpty())
                    continue;
                const QByteArray utf8 = escapeForXlsx(text).toUtf8();
                check(worksheet_write_string(
                    sheet, lxw_row_t(row), lxw_col_t(column), utf8.constData(), nullptr));
            }
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
