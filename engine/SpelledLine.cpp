// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/SpelledLine.h"

#include "core/TextRules.h"
#include "engine/DigitNames.h"
#include "engine/Keypad.h"
#include "engine/NumberText.h"

namespace engine {

namespace {

const QByteArray Separator = QByteArrayLiteral("   -   ");
constexpr qsizetype SeparatorBlanks = 3; // on each side of "-"
constexpr qsizetype PieceBytes = 65536;

// The one character at `position`: a surrogate pair stays whole.
QStringView characterAt(QStringView text, qsizetype position)
{
    const bool pair = text[position].isHighSurrogate() && position + 1 < text.size()
                      && text[position + 1].isLowSurrogate();
    return text.sliced(position, pair ? 2 : 1);
}

// Whether a character is a digit: of one character, only "0" to "9" read as
// a number.
bool isDigit(QStringView character)
{
    return character.size() == 1 && keypad::isAsciiDigit(character.front().unicode());
}

qsizetype trailingBlanks(QByteArrayView bytes)
{
    qsizetype blanks = 0;
    while (blanks < bytes.size() && bytes[bytes.size() - 1 - blanks] == ' ')
        ++blanks;
    return blanks;
}

} // namespace

SpelledLine::SpelledLine(const SpellLanguage &language,
                         QStringView text,
                         bool withOriginal,
                         const QByteArray &original)
    : m_text(text)
    , m_original(original)
    , m_withOriginal(withOriginal)
{
    for (int digit = 0; digit < 10; ++digit)
        m_digitWords[std::size_t(digit)] = digitName(language, digit).toUtf8() + ' ';
    const number::Span span = number::normalisedSpan(text);
    m_first = m_at = span.first;
    m_last = span.last;

    // The words part: "" or words and characters each with a blank, the
    // first and last of them no blank (the number's outer blanks are gone).
    qsizetype spelled = 0;
    for (qsizetype i = m_first; i < m_last;) {
        const QStringView character = characterAt(text, i);
        i += character.size();
        if (number::isDropped(character.front()))
            continue;
        spelled += isDigit(character) ? m_digitWords[character.front().unicode() - u'0'].size()
                                      : core::text::utf8Size(character) + 1;
    }
    qsizetype total = spelled;
    qsizetype trailing = spelled > 0 ? 1 : 0;
    if (m_withOriginal) {
        total += Separator.size() + m_original.size();
        trailing = trailingBlanks(m_original);
        if (trailing == m_original.size())
            trailing += SeparatorBlanks;
        // Without words the line begins with the separator's blanks.
        m_skip = spelled == 0 ? SeparatorBlanks : 0;
    }
    m_size = std::max<qsizetype>(0, total - m_skip - trailing);
    m_left = m_size;
}

void SpelledLine::put(QByteArrayView bytes)
{
    const qsizetype skipped = std::min(m_skip, bytes.size());
    m_skip -= skipped;
    bytes = bytes.sliced(skipped);
    bytes = bytes.first(std::min(bytes.size(), m_left));
    m_left -= bytes.size();
    m_buffer.append(bytes);
    if (m_buffer.size() >= PieceBytes)
        flush();
}

void SpelledLine::flush()
{
    if (!m_buffer.isEmpty())
        (*m_write)(m_buffer);
    m_buffer.clear();
}

bool SpelledLine::writeSome(qsizetype characters, const std::function<void(QByteArrayView)> &write)
{
    m_write = &write;
    m_buffer.reserve(PieceBytes + 16);
    char encoded[8];
    for (qsizetype written = 0; m_at < m_last && written < characters;) {
        const QStringView character = characterAt(m_text, m_at);
        m_at += character.size();
        if (number::isDropped(character.front()))
            continue;
        ++written;
        if (isDigit(character)) {
            put(m_digitWords[character.front().unicode() - u'0']);
        } else {
            char *end = core::text::writeUtf8(character, encoded);
            *end++ = ' ';
            put(QByteArrayView(encoded, end - encoded));
        }
    }
    const bool more = m_at < m_last;
    if (!more && m_withOriginal) {
        put(Separator);
        put(m_original);
        m_withOriginal = false; // written once
    }
    flush();
    m_write = nullptr;
    return more;
}

} // namespace engine
