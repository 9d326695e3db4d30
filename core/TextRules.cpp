// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/TextRules.h"

#include <utility>

namespace core::text {

namespace {

// The position of the first lone surrogate at or after `from`, or the size.
qsizetype loneSurrogateFrom(QStringView text, qsizetype from)
{
    const qsizetype size = text.size();
    for (qsizetype i = from; i < size; ++i) {
        if (!text[i].isSurrogate())
            continue;
        if (text[i].isHighSurrogate() && i + 1 < size && text[i + 1].isLowSurrogate())
            ++i;
        else
            return i;
    }
    return size;
}

// Where `text` begins and ends once its outer blanks are dropped.
std::pair<qsizetype, qsizetype> blankTrimmedBounds(QStringView text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return {first, last};
}

} // namespace

QStringView trimBlanks(QStringView text)
{
    const auto [first, last] = blankTrimmedBounds(text);
    return text.sliced(first, last - first);
}

void trimBlanksInPlace(QString &text)
{
    const auto [first, last] = blankTrimmedBounds(text);
    text.truncate(last);
    text.remove(0, first);
}

void replaceLoneSurrogates(QString &text)
{
    qsizetype at = loneSurrogateFrom(text, 0);
    if (at == text.size())
        return; // no change, and no copy of a shared text
    QChar *chars = text.data();
    while (at < text.size()) {
        chars[at] = QChar::ReplacementCharacter;
        at = loneSurrogateFrom(text, at + 1);
    }
}

bool hasLoneSurrogate(QStringView text)
{
    return loneSurrogateFrom(text, 0) < text.size();
}

qsizetype utf8Size(QStringView text)
{
    qsizetype size = 0;
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length; ++i) {
        const char16_t unit = text[i].unicode();
        if (unit < 0x80) {
            size += 1;
        } else if (unit < 0x800) {
            size += 2;
        } else if (QChar::isHighSurrogate(unit) && i + 1 < length && text[i + 1].isLowSurrogate()) {
            size += 4;
            ++i;
        } else {
            size += 3; // the rest of the plane, and U+FFFD for a lone surrogate
        }
    }
    return size;
}

char *writeUtf8(QStringView text, char *to)
{
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length; ++i) {
        char32_t code = text[i].unicode();
        if (code < 0x80) {
            *to++ = char(code);
            continue;
        }
        if (QChar::isSurrogate(code)) {
            if (QChar::isHighSurrogate(code) && i + 1 < length && text[i + 1].isLowSurrogate())
                code = QChar::surrogateToUcs4(char16_t(code), text[++i].unicode());
            else
                code = QChar::ReplacementCharacter;
        }
        if (code < 0x800) {
            *to++ = char(0xC0 | code >> 6);
        } else if (code < 0x10000) {
            *to++ = char(0xE0 | code >> 12);
            *to++ = char(0x80 | ((code >> 6) & 0x3F));
        } else {
            *to++ = char(0xF0 | code >> 18);
            *to++ = char(0x80 | ((code >> 12) & 0x3F));
            *to++ = char(0x80 | ((code >> 6) & 0x3F));
        }
        *to++ = char(0x80 | (code & 0x3F));
    }
    return to;
}

qsizetype wholeUtf8Length(QByteArrayView bytes)
{
    const qsizetype size = bytes.size();
    // A lead byte among the last three whose sequence runs past the end.
    for (qsizetype back = 1; back <= 3 && back <= size; ++back) {
        const auto byte = quint8(bytes[size - back]);
        if ((byte & 0xC0) == 0x80)
            continue;
        const int length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? size - back : size;
    }
    return size;
}

} // namespace core::text
