// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/MemoryGuard.h"

#include <QLocale>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace app {

namespace {

constexpr qint64 SmallestMargin = qint64(256) << 20;

} // namespace

MemoryGuard::MemoryGuard(std::function<qint64()> availableMemory)
    : m_availableMemory(std::move(availableMemory))
{}

void MemoryGuard::runStarted(qint64 resultBytes)
{
    m_cutShort = false;
    const qint64 available = m_availableMemory ? m_availableMemory() : -1;
    m_limit = available < 0
                  ? -1
                  : resultBytes
                        + std::max<qint64>(0, available - std::max(available / 4, SmallestMargin));
}

bool MemoryGuard::tripped(qint64 resultBytes, qint64 resultLines)
{
    if (m_cutShort)
        return false;
    m_tooManyLines = resultLines >= MostLines;
    if (!m_tooManyLines && (m_limit < 0 || resultBytes <= m_limit))
        return false;
    m_cutShort = true;
    return true;
}

bool MemoryGuard::takeCutShort()
{
    return std::exchange(m_cutShort, false);
}

QString MemoryGuard::cutShortMessage(qint64 linesKept) const
{
    const QString kept = QLocale(QLocale::English).toString(linesKept);
    if (m_tooManyLines)
        return u"The results were cut short: the results list holds at most %1 lines. %2 lines "
               "were kept."_s.arg(QLocale(QLocale::English).toString(MostLines), kept);
    return u"The results were cut short: more would not fit in the memory left on this "
           "computer. %1 lines were kept."_s.arg(kept);
}

} // namespace app
