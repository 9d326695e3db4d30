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
    // True once, the first time the results pass the limit during a run.
    bool tripped(qint64 resultBytes);
    // Whether the run that just ended was stopped by the guard; resets.
    bool takeCutShort();

    static QString cutShortMessage(qint64 linesKept);

private:
    std::function<qint64()> m_availableMemory;
    qint64 m_limit = -1;
    bool m_cutShort = false;
};

} // namespace app
