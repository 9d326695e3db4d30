// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include <functional>

namespace app {

// Keeps a run from exhausting the machine's memory: when the run starts it
// notes the memory available then, and the results may grow by that less a
// margin (a quarter of it, at least 256 MiB). Beyond, the run is stopped as
// if Stop had been clicked, and one message says so.
class MemoryGuard
{
public:
    // `availableMemory` gives the bytes available now, -1 when unknown (no limit).
    explicit MemoryGuard(std::function<qint64()> availableMemory);

    void runStarted(qint64 resultBytes);
    // True once, the first time the results pass the limit during a run, or
    // reach the most lines a list holds.
    bool tripped(qint64 resultBytes, qint64 resultLines);
    // Whether the run that just ended was stopped by the guard; resets.
    bool takeCutShort();

    // The message of the run that was cut short.
    QString cutShortMessage(qint64 linesKept) const;

    static constexpr qint64 MostLines = 2'000'000'000;

private:
    std::function<qint64()> m_availableMemory;
    qint64 m_limit = -1;
    bool m_cutShort = false;
    bool m_tooManyLines = false;
};

} // namespace app
