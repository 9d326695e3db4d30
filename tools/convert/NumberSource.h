// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "tools/convert/InputLines.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <mutex>

namespace convert {

// The numbers to convert, from the arguments or else one a line from standard
// input, handed out to the workers one at a time with their sequence numbers.
// Lines that cannot be taken come as problems, in their place.
class NumberSource
{
public:
    // The numbers of the arguments.
    explicit NumberSource(const QStringList &numbers);
    // The lines of an input descriptor.
    explicit NumberSource(int descriptor);

    struct Item
    {
        enum class Kind { Number, Problem, End } kind = Kind::End;
        qint64 sequence = 0;
        QString text; // the number, or what is wrong with the line
    };
    Item next();

    // Makes a worker waiting for input, and every later next(), give End.
    void interrupt();

private:
    std::mutex m_mutex;
    QStringList m_numbers;
    std::unique_ptr<InputLines> m_input;
    qint64 m_sequence = 0;
    bool m_ended = false;
    std::atomic<bool> m_interrupted = false;
};

} // namespace convert
