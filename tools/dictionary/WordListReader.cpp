// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tools/dictionary/WordListReader.h"

#include "core/RegularFile.h"
#include "lists/ListFiles.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace dictionary {

namespace {

constexpr qsizetype ChunkSize = qsizetype(1) << 20;
constexpr int MostCommonness = 65535;

enum class Encoding { Utf8, Utf16LE, Utf16BE, Windows1252 };

// The commonness after a TAB: one to five ASCII digits, at most 65535.
int commonnessOf(QStringView text)
{
    if (text.isEmpty() || text.size() > 5)
        return -1;
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value <= MostCommonness ? value : -1;
}

bool breaksWord(QChar c)
{
    return c.isSpace() || c.category() == QChar::Other_Control;
}

// Cuts decoded text into lines and each line into a word and its number.
class LineReader
{
public:
    explicit LineReader(WordList &list)
        : m_list(list)
    {}

    void feed(QStringView text)
    {
        qsizetype start = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (c != u'\n' && c != u'\r')
                continue;
            take(text.sliced(start, i - start));
            // LF right after CR ends nothing more, also across chunks.
            if (!(c == u'\n' && m_afterCarriageReturn && i == start))
                endLine();
            m_afterCarriageReturn = c == u'\r';
            start = i + 1;
        }
        if (start < text.size()) {
            take(text.sliced(start));
            m_afterCarriageReturn = false;
        }
    }

    void finish()
    {
        if (!m_line.isEmpty() || m_overlong)
            endLine();
    }

private:
    void take(QStringView part)
    {
        if (part.isEmpty())
            return;
        if (m_overlong || m_line.size() + part.size() > MaxLineLength) {
            m_overlong = true;
            m_line.clear();
            return;
        }
        m_line += part;
    }

    void endLine()
    {
        ++m_lineNumber;
        if (m_overlong || !parse(m_line)) {
            if (m_list.skippedLines++ == 0)
                m_list.firstSkippedLine = m_lineNumber;
        }
        m_line.clear();
        m_overlong = false;
    }

    // False for a line that is neither blank nor a word with its number.
    bool parse(QStringView line)
    {
        if (line.trimmed().isEmpty())
            return true;
        const qsizetype tab = line.indexOf(u'\t');
        const QStringView word = tab < 0 ? line : line.first(tab);
        int commonness = 0;
        if (tab >= 0 && (commonness = commonnessOf(line.sliced(tab + 1))) < 0)
            return false;
        if (word.isEmpty() || std::any_of(word.begin(), word.end(), breaksWord))
            return false;
        m_list.entries.append({word.toString(), commonness});
        return true;
    }

    WordList &m_list;
    QString m_line;
    bool m_overlong = false;
    bool m_afterCarriageReturn = false;
    qsizetype m_lineNumber = 0;
};

// Decodes `bytes` a chunk at a time into a fresh list; bytes that are not of
// the encoding become replacement characters.
void decodeInto(QByteArrayView bytes, Encoding encoding, WordList *list)
{
    *list = WordList();
    LineReader lines(*list);
    const auto converter = encoding == Encoding::Utf16LE   ? QStringConverter::Utf16LE
                           : encoding == Encoding::Utf16BE ? QStringConverter::Utf16BE
                                                           : QStringConverter::Utf8;
    QStringDecoder decoder(converter);
    for (qsizetype at = 0; at < bytes.size(); at += ChunkSize) {
        const QByteArrayView chunk = bytes.sliced(at, std::min(ChunkSize, bytes.size() - at));
        if (encoding == Encoding::Windows1252) {
            lines.feed(lists::detail::decodeWindows1252Table(chunk));
        } else {
            lines.feed(QString(decoder.decode(chunk)));
        }
    }
    lines.finish();
}

} // namespace

bool readWordList(const QString &path, WordList *list, QString *error)
{
    const QString shown = QDir::toNativeSeparators(path);
    QFile file;
    QString reason;
    const core::FileKind kind = core::openRegularFile(file, path, &reason);
    if (kind == core::FileKind::Missing) {
        *error = u"cannot read '%1': No such file or directory"_s.arg(shown);
        return false;
    }
    if (kind != core::FileKind::Regular) {
        *error = u"cannot read '%1': %2"_s.arg(shown, core::fileKindProblem(kind));
        return false;
    }
    if (!file.isOpen()) {
        *error = u"cannot read '%1': %2"_s.arg(shown, reason);
        return false;
    }
    const qint64 size = file.size();
    if (size == 0) {
        *list = WordList();
        return true;
    }
    const uchar *mapped = file.map(0, size);
    if (!mapped) {
        *error = u"cannot read '%1': %2"_s.arg(shown, file.errorString());
        return false;
    }
    QByteArrayView bytes(reinterpret_cast<const char *>(mapped), size);
    Encoding encoding = Encoding::Utf8;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes = bytes.sliced(3);
    } else if (bytes.startsWith("\xFF\xFE")) {
        encoding = Encoding::Utf16LE;
        bytes = bytes.sliced(2);
    } else if (bytes.startsWith("\xFE\xFF")) {
        encoding = Encoding::Utf16BE;
        bytes = bytes.sliced(2);
    }
    // Text without a mark that is not UTF-8 throughout is Windows-1252; a
    // marked file with a bad sequence keeps its replacement characters.
    if (encoding == Encoding::Utf8 && bytes.data() == reinterpret_cast<const char *>(mapped)
        && !bytes.isValidUtf8())
        encoding = Encoding::Windows1252;
    decodeInto(bytes, encoding, list);
    return true;
}

} // namespace dictionary
