// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tools/dictionary/ListEntries.h"

#include "core/RegularFile.h"
#include "engine/WordListReader.h"

#include <QDir>
#include <QFile>

using namespace Qt::Literals::StringLiterals;

namespace dictionary {

namespace {

constexpr int MostCommonness = 65535;

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

class EntryCollector : public engine::WordListSink
{
public:
    explicit EntryCollector(WordList &list)
        : m_list(list)
    {}

    void take(const engine::WordListEntry &entry) override
    {
        const int commonness = entry.hasTab ? commonnessOf(entry.afterTab) : 0;
        if (commonness < 0)
            return skip(entry.line);
        m_list.entries.append({entry.word.toString(), commonness});
    }

    void passOver(engine::PassedOverLine, qsizetype line) override { skip(line); }

private:
    void skip(qsizetype line)
    {
        if (m_list.skippedLines++ == 0)
            m_list.firstSkippedLine = line;
    }

    WordList &m_list;
};

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
    *list = WordList();
    EntryCollector collector(*list);
    reason = engine::readWordList(file, collector);
    if (!reason.isEmpty()) {
        *error = u"cannot read '%1': %2"_s.arg(shown, reason);
        return false;
    }
    return true;
}

} // namespace dictionary
