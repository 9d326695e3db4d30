// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tools/convert/ConsoleHost.h"

using namespace Qt::Literals::StringLiterals;

namespace convert {

ConsoleHost::ConsoleHost(const core::ConversionOptions &options)
    : m_options(options)
    , m_numbers({u"Phone Number"_s})
    , m_results({u"Results"_s})
{}

void ConsoleHost::setNumber(const QString &number)
{
    m_numbers.clear();
    m_numbers.appendBatch(QStringList{number}, false);
    m_reports.clear();
}

void ConsoleHost::yield()
{
    if (onYield)
        onYield();
}

void ConsoleHost::appendResult(const QString &line)
{
    if (onResult)
        onResult(line);
}

void ConsoleHost::showErrorReport(const QString &text)
{
    QString report = text;
    report.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
    m_reports.append(report);
}

} // namespace convert
