// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tools/convert/NumberSource.h"

#include "core/RegularFile.h"

using namespace Qt::Literals::StringLiterals;

namespace convert {

NumberSource::NumberSource(const QStringList &numbers)
    : m_numbers(numbers)
{}

NumberSource::NumberSource(int descriptor)
    : m_input(std::make_unique<InputLines>(descriptor))
{}

NumberSource::Item NumberSource::next()
{
    std::lock_guard lock(m_mutex);
    Item item;
    item.sequence = m_sequence;
    if (m_ended || m_interrupted)
        return item;
    if (!m_input) {
        if (m_sequence >= m_numbers.size()) {
            m_ended = true;
            return item;
        }
        item.kind = Item::Kind::Number;
        item.text = m_numbers[m_sequence++];
        return item;
    }
    QByteArray bytes;
    for (;;) {
        switch (m_input->next(bytes)) {
        case InputLines::Status::End:
            m_ended = true;
            return item;
        case InputLines::Status::Interrupted:
            m_ended = true;
            return item;
        case InputLines::Status::ReadError:
            m_ended = true;
            item.kind = Item::Kind::Problem;
            item.text = u"cannot read standard input: "_s + m_input->error();
            ++m_sequence;
            return item;
        case InputLines::Status::TooLong:
            item.kind = Item::Kind::Problem;
            item.text = u"line %1 of standard input is longer than %2; left out"_s
                            .arg(m_input->lineNumber())
                            .arg(core::megabytesText(InputLines::LongestLine));
            ++m_sequence;
            return item;
        case InputLines::Status::Line:
            break;
        }
        QString problem;
        const std::optional<QString> number = InputLines::textOf(bytes, problem);
        if (!problem.isEmpty()) {
            item.kind = Item::Kind::Problem;
            item.text =
                u"line %1 of standard input %2; left out"_s.arg(m_input->lineNumber()).arg(problem);
            ++m_sequence;
            return item;
        }
        if (number) {
            item.kind = Item::Kind::Number;
            item.text = *number;
            ++m_sequence;
            return item;
        }
        // A blank line: the next one.
    }
}

void NumberSource::interrupt()
{
    // Without the lock: a worker may hold it while it waits for input.
    m_interrupted = true;
    if (m_input)
        m_input->interrupt();
}

} // namespace convert
