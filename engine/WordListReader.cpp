// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/WordListReader.h"

#include "core/Failure.h"
#include "core/TextRules.h"
#include "engine/LowerCase.h"
#include "engine/WordFeed.h"
#include "engine/WordStore.h"

#include <QIODevice>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <optional>

namespace engine {

namespace {

// Bytes read and decoded at a time.
constexpr qint64 ChunkSize = qint64(1) << 20;

enum class Encoding { Utf8, Utf16LE, Utf16BE, Utf32LE, Utf32BE, Windows1252 };

struct ByteOrderMark
{
    QByteArrayView bytes;
    Encoding encoding;
};

// UTF-32 LE before UTF-16 LE: its mark begins with the same two bytes.
constexpr ByteOrderMark ByteOrderMarks[] = {
    {QByteArrayView("\xFF\xFE\0\0", 4), Encoding::Utf32LE},
    {QByteArrayView("\0\0\xFE\xFF", 4), Encoding::Utf32BE},
    {QByteArrayView("\xEF\xBB\xBF", 3), Encoding::Utf8},
    {QByteArrayView("\xFF\xFE", 2), Encoding::Utf16LE},
    {QByteArrayView("\xFE\xFF", 2), Encoding::Utf16BE},
};

QStringDecoder decoderFor(Encoding encoding)
{
    // Each piece on its own (pieces end between characters), and a U+FEFF
    // at a piece's start stays text: the file's mark is skipped before.
    const auto flags = QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom;
    switch (encoding) {
    case Encoding::Utf16LE:
        return QStringDecoder(QStringDecoder::Utf16LE, flags);
    case Encoding::Utf16BE:
        return QStringDecoder(QStringDecoder::Utf16BE, flags);
    case Encoding::Utf32LE:
        return QStringDecoder(QStringDecoder::Utf32LE, flags);
    case Encoding::Utf32BE:
        return QStringDecoder(QStringDecoder::Utf32BE, flags);
    case Encoding::Windows1252: {
        QStringDecoder windows1252("windows-1252", flags);
        // Qt built without ICU lacks it; Latin-1 differs only in 0x80-0x9F.
        return windows1252.isValid() ? std::move(windows1252)
                                     : QStringDecoder(QStringDecoder::Latin1, flags);
    }
    case Encoding::Utf8:
        break;
    }
    return QStringDecoder(QStringDecoder::Utf8, flags);
}

// The leading part of `bytes` that holds whole characters (UTF-16 units: the
// halves of a surrogate pair meet again in the line); the rest waits for the
// next piece.
qsizetype wholeCharacters(Encoding encoding, QByteArrayView bytes)
{
    const qsizetype size = bytes.size();
    switch (encoding) {
    case Encoding::Utf8:
        return core::text::wholeUtf8Length(bytes);
    case Encoding::Utf16LE:
    case Encoding::Utf16BE:
        return size & ~qsizetype(1);
    case Encoding::Utf32LE:
    case Encoding::Utf32BE:
        return size & ~qsizetype(3);
    case Encoding::Windows1252:
        break;
    }
    return size;
}

// Reads the device in pieces that end between characters into `buffer`,
// handing each to `take`; the last piece holds what is left at the end.
// False on a read error.
template <typename Take>
bool readPieces(QIODevice &device, Encoding encoding, QByteArray &buffer, Take take)
{
    qsizetype held = 0;
    for (;;) {
        const qint64 count = device.read(buffer.data() + held, ChunkSize);
        if (count < 0)
            return false;
        const QByteArrayView bytes(buffer.constData(), held + count);
        if (count == 0) {
            take(bytes, true);
            return true;
        }
        const qsizetype whole = wholeCharacters(encoding, bytes);
        if (!take(bytes.first(whole), false))
            return true;
        held = bytes.size() - whole;
        std::memmove(buffer.data(), bytes.data() + whole, size_t(held));
    }
}

enum class WordCheck { Word, HoldsBlank, Damaged };

WordCheck checkWord(QStringView word)
{
    const char16_t *units = word.utf16();
    const qsizetype size = word.size();
    bool blank = false;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = units[i];
        if (unit > u' ' && unit < 0x7F)
            continue;
        if (unit == u' ') {
            blank = true;
        } else if (QChar::isHighSurrogate(unit)) {
            if (i + 1 == size || !QChar::isLowSurrogate(units[i + 1]))
                return WordCheck::Damaged;
            ++i;
        } else if (QChar::isLowSurrogate(unit) || unit == QChar::ReplacementCharacter
                   || QChar::isNonCharacter(unit)
                   || QChar::category(unit) == QChar::Other_Control) {
            return WordCheck::Damaged;
        } else if (QChar::isSpace(unit)) {
            blank = true;
        }
    }
    return blank ? WordCheck::HoldsBlank : WordCheck::Word;
}

bool isBlank(QStringView line)
{
    return std::all_of(line.begin(), line.end(), [](QChar c) {
        return c.isSpace();
    });
}

// The lines of the decoded text given piece by piece, each handed to the
// sink as it ends. A line is held only up to LongestWordLine units: a longer
// one is damaged whatever follows.
class WordLines
{
public:
    explicit WordLines(WordListSink &sink)
        : m_sink(sink)
    {}

    void add(QStringView text)
    {
        const char16_t *units = text.utf16();
        qsizetype start = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t unit = units[i];
            if (unit != u'\n' && unit != u'\r')
                continue;
            // The LF of a CR LF: the line ended at the CR.
            const bool secondHalf = unit == u'\n' && m_afterCr && i == start;
            m_afterCr = unit == u'\r';
            if (!secondHalf)
                endLine(text.sliced(start, i - start));
            start = i + 1;
        }
        if (start < text.size()) {
            m_afterCr = false;
            hold(text.sliced(start));
        }
    }

    void finish()
    {
        if (m_overlong || !m_partial.isEmpty())
            endLine({});
    }

private:
    void hold(QStringView piece)
    {
        if (m_overlong)
            return;
        if (m_partial.size() + piece.size() > LongestWordLine) {
            m_overlong = true;
            m_partial.clear();
        } else {
            m_partial.append(piece);
        }
    }

    void endLine(QStringView rest)
    {
        if (!m_partial.isEmpty() && !m_overlong) {
            hold(rest);
            if (!m_overlong)
                take(m_partial);
        } else if (!m_overlong) {
            take(rest);
        }
        if (m_overlong)
            damaged();
        m_overlong = false;
        m_partial.clear();
        ++m_line;
    }

    void take(QStringView line)
    {
        if (line.startsWith(QChar::ByteOrderMark))
            line = line.sliced(1); // the mark of a file joined to the list
        if (line.size() > LongestWordLine)
            return damaged();
        const qsizetype tab = line.indexOf(u'\t');
        const QStringView word = tab < 0 ? line : line.first(tab);
        switch (checkWord(word)) {
        case WordCheck::Word:
            break;
        case WordCheck::HoldsBlank:
            if (!isBlank(line))
                m_sink.passOver(PassedOverLine::HoldsBlank, m_line);
            return;
        case WordCheck::Damaged:
            return damaged();
        }
        if (word.isEmpty()) {
            if (!isBlank(line))
                m_sink.passOver(PassedOverLine::NoWord, m_line);
            return;
        }
        m_sink.take({word, tab >= 0, tab >= 0 ? line.sliced(tab + 1) : QStringView(), m_line});
    }

    void damaged() { m_sink.passOver(PassedOverLine::Damaged, m_line); }

    WordListSink &m_sink;
    QString m_partial; // the beginning of a line that began in an earlier piece
    qsizetype m_line = 1;
    bool m_overlong = false;
    bool m_afterCr = false;
};

} // namespace

QString readWordList(QIODevice &device, WordListSink &sink)
{
    if (!device.seek(0))
        return device.errorString();
    const QByteArray head = device.read(4);
    if (head.isEmpty() && !device.atEnd())
        return device.errorString();

    QByteArray buffer(ChunkSize + 8, Qt::Uninitialized);
    const auto mark = std::find_if(
        std::begin(ByteOrderMarks), std::end(ByteOrderMarks), [&](const ByteOrderMark &m) {
            return head.startsWith(m.bytes);
        });
    Encoding encoding = Encoding::Utf8;
    qint64 markSize = 0;
    if (mark != std::end(ByteOrderMarks)) {
        encoding = mark->encoding;
        markSize = mark->bytes.size();
    } else {
        // Without a mark: UTF-8 only when all of it is.
        bool utf8 = true;
        if (!device.seek(0)
            || !readPieces(device, encoding, buffer, [&](QByteArrayView bytes, bool) {
                   utf8 = bytes.isValidUtf8();
                   return utf8;
               }))
            return device.errorString();
        if (!utf8)
            encoding = Encoding::Windows1252;
    }
    if (!device.seek(markSize))
        return device.errorString();

    QStringDecoder decoder = decoderFor(encoding);
    WordLines lines(sink);
    const bool read = readPieces(device, encoding, buffer, [&](QByteArrayView bytes, bool end) {
        lines.add(QString(decoder.decode(bytes)));
        if (end)
            lines.finish();
        return true;
    });
    return read ? QString() : device.errorString();
}

namespace {

// The reading stops: the feed has stopped at a failure.
struct FeedStopped
{};

// The words of a list into a store, lower-cased, with their levels.
class StoreFilling : public WordListSink
{
public:
    StoreFilling(WordFeed &feed, WordListReport &report)
        : m_feed(feed)
        , m_report(report)
    {}

    void take(const WordListEntry &entry) override
    {
        int commonness = 0;
        if (entry.hasTab) {
            bool whole = false;
            const qlonglong level = entry.afterTab.toLongLong(&whole);
            if (whole)
                commonness = int(std::clamp<qlonglong>(level, 0, WordStore::MaxCommonness));
        }
        lowerCase(entry.word, m_lower);
        if (!m_feed.add(m_lower, commonness, 0, entry.line))
            throw FeedStopped();
    }

    void passOver(PassedOverLine why, qsizetype line) override
    {
        if (why == PassedOverLine::Damaged && m_report.damagedLines++ == 0)
            m_report.firstDamagedLine = line;
    }

private:
    WordFeed &m_feed;
    WordListReport &m_report;
    QString m_lower;
};

} // namespace

WordListReport readWordList(QIODevice &device, WordStore &store)
{
    WordListReport report;
    // The words hold fewer units than the list has bytes: about eight a word.
    WordFeed feed(store, device.size() / 8, WordFeed::Repeats::Skip);
    StoreFilling filling(feed, report);
    try {
        report.failure = readWordList(device, filling);
    } catch (const FeedStopped &) {
    }
    try {
        feed.finish();
    } catch (const core::Failure &failure) {
        // The store is full.
        report.failure = failure.description();
        report.failureLine = feed.failedTag();
    }
    report.wordsAdded = feed.added();
    return report;
}

} // namespace engine
