// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tools/convert/ConsoleWindow.h"

#include "core/Failure.h"

using namespace Qt::Literals::StringLiterals;

namespace convert {

namespace {

[[noreturn]] void unavailable(const QString &what)
{
    throw core::Failure(what + u" is not available in digitome-convert"_s);
}

} // namespace

ConsoleWindow::ConsoleWindow(const core::ConversionOptions &options)
    : m_options(options)
    , m_numbers({u"Phone Number"_s})
    , m_results({u"Results"_s})
{}

void ConsoleWindow::setNumber(const QString &number)
{
    m_numbers.clear();
    m_numbers.appendBatch(QStringList{number}, false);
    m_reports.clear();
}

void ConsoleWindow::yield()
{
    if (onYield)
        onYield();
}

void ConsoleWindow::appendResult(const QString &line)
{
    if (onResult)
        onResult(line);
}

void ConsoleWindow::showErrorReport(const QString &text)
{
    QString report = text;
    report.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
    m_reports.append(report);
}

void ConsoleWindow::NoDialogs::message(const QString &, const QString &, Icon)
{
    unavailable(u"A message box"_s);
}

bool ConsoleWindow::NoDialogs::askYesNo(const QString &, const QString &)
{
    unavailable(u"A question box"_s);
}

QString ConsoleWindow::NoDialogs::prompt(const QString &, const QString &)
{
    unavailable(u"A prompt"_s);
}

QStringList ConsoleWindow::NoDialogs::openFiles(const QString &, const QStringList &)
{
    unavailable(u"The open dialog"_s);
}

QString ConsoleWindow::NoDialogs::saveFile(const QString &, const QStringList &)
{
    unavailable(u"The save dialog"_s);
}

bool ConsoleWindow::NoClipboard::clear()
{
    unavailable(u"The clipboard"_s);
}

bool ConsoleWindow::NoClipboard::setText(const QString &)
{
    unavailable(u"The clipboard"_s);
}

std::unique_ptr<core::SpreadsheetApplication> ConsoleWindow::NoSpreadsheet::create()
{
    unavailable(u"The spreadsheet"_s);
}

} // namespace convert
