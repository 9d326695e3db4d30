// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <array>
#include <functional>

namespace engine {

struct SpellLanguage;

// The spelled-out line of one number: each character of the normalised
// number (a surrogate pair is one) as its digit word when it is a digit, else
// as itself, each followed by a blank; then, with the original, "   -   "
// and the number's text as it stands in the list; the blanks at both ends
// dropped. The line's UTF-8 is measured first and then written a piece at a
// time, so that a line of millions of characters is never held twice.
class SpelledLine
{
public:
    // `language`: the digit words' language; `text`: the number's text in the
    // list; `original`: the UTF-8 of the text to append after the separator
    // when `withOriginal`.
    SpelledLine(const SpellLanguage &language,
                QStringView text,
                bool withOriginal,
                const QByteArray &original = {});

    // The line's size in UTF-8 bytes.
    qsizetype size() const { return m_size; }

    // Gives the next pieces of the line to `write`, up to `characters` more
    // characters of the number (and all that follows them once they are
    // done); true while characters are left.
    bool writeSome(qsizetype characters, const std::function<void(QByteArrayView)> &write);

private:
    void put(QByteArrayView bytes);
    void flush();

    QStringView m_text;
    QByteArray m_original;
    bool m_withOriginal = false;
    std::array<QByteArray, 10> m_digitWords; // each with its blank
    qsizetype m_first = 0;                   // the normalised part of m_text
    qsizetype m_last = 0;
    qsizetype m_at = 0;   // the next character of m_text
    qsizetype m_skip = 0; // leading bytes still to drop
    qsizetype m_left = 0; // bytes of the line still to write
    qsizetype m_size = 0;
    QByteArray m_buffer; // pieces gathered before they are written
    const std::function<void(QByteArrayView)> *m_write = nullptr;
};

} // namespace engine
