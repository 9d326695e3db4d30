// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "lists/ResultFilters.h"

#include "core/ItemListModel.h"

#include <QString>

#include <vector>

namespace lists {

namespace {

// How many lines are read between two yields.
constexpr qsizetype LinesPerStep = 4096;

// Whether a line holds a text, letter case ignored as QString::toLower()
// lowers it. Lines and texts of ASCII only are compared as bytes.
class CaseBlindMatch
{
public:
    explicit CaseBlindMatch(const QString &text)
        : m_lowered(text.toLower())
    {
        for (const QChar c : std::as_const(m_lowered))
            m_ascii = m_ascii && c.unicode() < 0x80;
        if (m_ascii)
            m_asciiLowered = m_lowered.toLatin1();
    }

    bool operator()(QByteArrayView utf8) const
    {
        if (m_ascii) {
            bool ascii = true;
            for (const char c : utf8)
                ascii = ascii && quint8(c) < 0x80;
            if (ascii)
                return containsAscii(utf8);
        }
        // Beyond ASCII a letter may lower to another length, or to ASCII.
        return QString::fromUtf8(utf8).toLower().contains(m_lowered);
    }

private:
    bool containsAscii(QByteArrayView line) const
    {
        const qsizetype size = m_asciiLowered.size();
        for (qsizetype at = 0; at + size <= line.size(); ++at) {
            qsizetype i = 0;
            while (i < size && lowered(line[at + i]) == m_asciiLowered[i])
                ++i;
            if (i == size)
                return true;
        }
        return false;
    }

    static char lowered(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }

    QString m_lowered;
    bool m_ascii = true;
    QByteArray m_asciiLowered;
};

void removeItems(core::ItemListModel &list,
                 const QString &text,
                 bool containing,
                 const std::function<void()> &yield)
{
    const CaseBlindMatch matches(text);
    for (;;) {
        const quint64 removals = list.removals();
        const qsizetype lines = list.storedLines();
        std::vector<char> drop(static_cast<std::size_t>(lines), 0);
        bool removedMeanwhile = false;
        for (qsizetype line = 0; line < lines && !removedMeanwhile; ++line) {
            drop[std::size_t(line)] = matches(list.storedUtf8(line)) == containing ? 1 : 0;
            if (yield && line % LinesPerStep == LinesPerStep - 1) {
                yield();
                removedMeanwhile = list.removals() != removals;
            }
        }
        if (!removedMeanwhile && list.removeStoredInSteps(std::move(drop), yield))
            return;
    }
}

} // namespace

void removeItemsContaining(core::ItemListModel &list,
                           const QString &text,
                           const std::function<void()> &yield)
{
    removeItems(list, text, true, yield);
}

void removeItemsNotContaining(core::ItemListModel &list,
                              const QString &text,
                              const std::function<void()> &yield)
{
    removeItems(list, text, false, yield);
}

} // namespace lists
