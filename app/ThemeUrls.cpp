// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/ThemeUrls.h"

#include "core/RegularFile.h"

#include <functional>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace app {

namespace {

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

bool isNameCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9')
           || u == u'_' || u == u'-' || u >= 0x80;
}

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == u'\f';
}

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || isLineBreak(c);
}

// The style sheet after Qt's first pass, which replaces every backslash and
// one to six hex digits (of at most seven read) by the UTF-16 unit they
// name, unless it is above FFFF; other escapes stay for the second pass.
// For each character, where it came from in the sheet.
struct Decoded
{
    QString text;
    std::vector<qsizetype> from; // first character in the sheet
    std::vector<qsizetype> to;   // one past the last
};

Decoded decodeHexEscapes(const QString &sheet)
{
    Decoded decoded;
    const qsizetype size = sheet.size();
    decoded.text.reserve(size);
    const auto put = [&decoded](QChar c, qsizetype from, qsizetype to) {
        decoded.text.append(c);
        decoded.from.push_back(from);
        decoded.to.push_back(to);
    };
    for (qsizetype i = 0; i < size;) {
        if (sheet[i] != u'\\') {
            put(sheet[i], i, i + 1);
            ++i;
            continue;
        }
        qsizetype digits = 0;
        while (i + 1 + digits < size && digits < 7 && isHexDigit(sheet[i + 1 + digits]))
            ++digits;
        digits = std::min<qsizetype>(digits, 6);
        bool ok = false;
        const ushort code =
            digits > 0 ? QStringView(sheet).sliced(i + 1, digits).toUShort(&ok, 16) : ushort(0);
        if (!ok) {
            put(sheet[i], i, i + 1); // the backslash stays; what follows is read as it is
            ++i;
            continue;
        }
        put(QChar(code), i, i + 1 + digits);
        i += 1 + digits;
    }
    return decoded;
}

// The second pass: a backslash keeps the character after it, whatever it is.
QString withoutEscapes(QStringView text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size())
            ++i;
        result.append(text[i]);
    }
    return result;
}

QString withoutQuotes(QString text)
{
    if (text.startsWith(u'"') || text.startsWith(u'\'')) {
        text.remove(0, 1);
        text.chop(1);
    }
    return text;
}

// Reads the decoded sheet as Qt's scanner does, as far as url() needs.
class UrlScanner
{
public:
    explicit UrlScanner(const QString &text)
        : m_text(text)
    {}

    // Calls `found` with the span of each url() (from its name to its ")")
    // and the text between its parentheses.
    void scan(const std::function<void(qsizetype, qsizetype, QStringView)> &found)
    {
        qsizetype at = 0;
        while (at < size()) {
            if (startsComment(at)) {
                at = afterComment(at);
            } else if (m_text[at] == u'"' || m_text[at] == u'\'') {
                at = afterString(at);
            } else if (isNameCharacter(m_text[at]) || m_text[at] == u'\\') {
                const qsizetype start = at;
                at = afterName(at);
                if (at == start) {
                    ++at;
                    continue;
                }
                // A name that only ends in "url" counts too: Qt may read the
                // characters before it as another token.
                const bool isUrl = withoutEscapes(QStringView(m_text).sliced(start, at - start))
                                       .endsWith(u"url", Qt::CaseInsensitive);
                if (isUrl && at < size() && m_text[at] == u'(')
                    at = readUrl(start, at, found);
            } else {
                ++at;
            }
        }
    }

private:
    qsizetype size() const { return m_text.size(); }
    bool startsComment(qsizetype at) const
    {
        return m_text[at] == u'/' && at + 1 < size() && m_text[at + 1] == u'*';
    }
    qsizetype afterComment(qsizetype at) const
    {
        const qsizetype end = m_text.indexOf(u"*/", at + 2);
        return end < 0 ? size() : end + 2;
    }
    // A string ends at its closing quote; one cut by a line break is taken
    // to end before it, so that nothing after it is passed over.
    qsizetype afterString(qsizetype at) const
    {
        const QChar quote = m_text[at];
        for (qsizetype i = at + 1; i < size(); ++i) {
            if (m_text[i] == u'\\')
                ++i;
            else if (m_text[i] == quote)
                return i + 1;
            else if (isLineBreak(m_text[i]))
                return at + 1;
        }
        return at + 1;
    }
    qsizetype afterName(qsizetype at) const
    {
        while (at < size()) {
            if (m_text[at] == u'\\' && at + 1 < size() && !isLineBreak(m_text[at + 1]))
                at += 2;
            else if (isNameCharacter(m_text[at]))
                ++at;
            else
                break;
        }
        return at;
    }
    // The arguments run from after the blanks and comments that follow "("
    // to the ")" that closes it; returns where scanning goes on.
    qsizetype readUrl(qsizetype name,
                      qsizetype open,
                      const std::function<void(qsizetype, qsizetype, QStringView)> &found) const
    {
        qsizetype at = open + 1;
        while (at < size()) {
            if (isSpace(m_text[at]))
                ++at;
            else if (startsComment(at))
                at = afterComment(at);
            else
                break;
        }
        const qsizetype first = at;
        int depth = 0;
        while (at < size()) {
            const QChar c = m_text[at];
            if (startsComment(at)) {
                at = afterComment(at);
            } else if (c == u'"' || c == u'\'') {
                at = afterString(at);
            } else if (c == u'\\') {
                at += 2;
            } else if (c == u'(') {
                ++depth;
                ++at;
            } else if (c == u')' && depth > 0) {
                --depth;
                ++at;
            } else if (c == u')') {
                found(name, at + 1, QStringView(m_text).sliced(first, at - first));
                return at + 1;
            } else {
                ++at;
            }
        }
        return open + 1; // never closed: Qt reads no url from it
    }

    const QString &m_text;
};

// The paths one url()'s arguments may name: read with Qt's escapes, and,
// for a backslash that ends a token, as written.
QStringList targetsOf(QStringView arguments)
{
    QStringList targets{withoutQuotes(withoutEscapes(arguments))};
    const QString raw = withoutQuotes(arguments.toString());
    if (raw != targets.first())
        targets.append(raw);
    return targets;
}

bool isSafeTarget(const QString &target)
{
    if (target.startsWith(u':') || target.startsWith(u"qrc:"))
        return true;
    const core::FileKind kind = core::fileKindOf(target);
    return kind == core::FileKind::Missing || kind == core::FileKind::Regular;
}

} // namespace

QStringList detail::urlTargets(const QString &sheet)
{
    const Decoded decoded = decodeHexEscapes(sheet);
    QStringList targets;
    UrlScanner(decoded.text).scan([&](qsizetype, qsizetype, QStringView arguments) {
        targets += targetsOf(arguments);
    });
    return targets;
}

QString withSafeUrls(const QString &sheet)
{
    const Decoded decoded = decodeHexEscapes(sheet);
    // The spans to empty, in the sheet as written.
    std::vector<std::pair<qsizetype, qsizetype>> unsafe;
    UrlScanner(decoded.text).scan([&](qsizetype first, qsizetype end, QStringView arguments) {
        const QStringList targets = targetsOf(arguments);
        if (!std::all_of(targets.begin(), targets.end(), isSafeTarget))
            unsafe.emplace_back(decoded.from[std::size_t(first)], decoded.to[std::size_t(end - 1)]);
    });
    if (unsafe.empty())
        return sheet;
    QString result;
    qsizetype copied = 0;
    for (const auto &[from, to] : unsafe) {
        result += QStringView(sheet).sliced(copied, from - copied);
        result += u"url()"_s;
        copied = to;
    }
    result += QStringView(sheet).sliced(copied);
    return result;
}

} // namespace app
