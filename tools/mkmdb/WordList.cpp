// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tools/mkmdb/WordList.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace mkmdb {

namespace {

bool plainLetters(QStringView entry)
{
    if (entry.isEmpty())
        return false;
    return std::all_of(entry.begin(), entry.end(), [](QChar ch) {
        return (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z');
    });
}

// The size a list's file name ends in ("english-words.35" gives 35), or 0.
qint32 listSize(const QString &fileName)
{
    bool ok = false;
    const qint32 size = fileName.sliced(fileName.lastIndexOf(u'.') + 1).toInt(&ok);
    return ok && size > 0 ? size : 0;
}

QString decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

} // namespace

bool gatherWords(const QStringList &listFiles, QList<ListedWord> *words, QString *error)
{
    QHash<QString, ListedWord> found;
    qint32 smallestSize = 0;
    for (const QString &path : listFiles) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            *error = u"Cannot read '%1': %2"_s.arg(path, file.errorString());
            return false;
        }
        const QString category = QFileInfo(path).fileName();
        const qint32 size = listSize(category);
        if (size > 0 && (smallestSize == 0 || size < smallestSize))
            smallestSize = size;
        const QString text = decode(file.readAll());
        for (QStringView line : QStringView(text).split(u'\n')) {
            const QStringView entry = line.trimmed();
            if (!plainLetters(entry))
                continue;
            const QString word = entry.toString().toLower();
            if (word.size() == 1 && word != u"a" && word != u"i")
                continue;
            const auto it = found.find(word);
            if (it == found.end())
                found.insert(word, {word, category, size});
            else if (size > 0 && (it->commonness == 0 || size < it->commonness))
                it->commonness = size;
        }
    }
    if (!found.contains(u"i"_s))
        found.insert(u"i"_s, {u"i"_s, u"added"_s, smallestSize});

    words->clear();
    words->reserve(found.size());
    for (const ListedWord &w : std::as_const(found))
        words->append(w);
    std::sort(words->begin(), words->end(), [](const ListedWord &a, const ListedWord &b) {
        return a.word < b.word;
    });
    return true;
}

bool rateWords(const QString &ratingsFile, QList<ListedWord> *words, QString *error)
{
    QFile file(ratingsFile);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = u"Cannot read '%1': %2"_s.arg(ratingsFile, file.errorString());
        return false;
    }
    const QString text = QString::fromUtf8(file.readAll());
    qsizetype lineNumber = 0;
    for (QStringView line : QStringView(text).split(u'\n')) {
        ++lineNumber;
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        const qsizetype tab = line.indexOf(u'\t');
        bool ok = tab > 0;
        const int rating = ok ? line.sliced(tab + 1).toInt(&ok) : 0;
        if (!ok || rating < 0 || rating > 2) {
            *error = u"'%1', line %2: not a word, a TAB and a rating 0, 1 or 2"_s.arg(ratingsFile)
                         .arg(lineNumber);
            return false;
        }
        const QString word = line.first(tab).toString().toLower();
        const auto at = std::lower_bound(
            words->begin(), words->end(), word, [](const ListedWord &w, const QString &text) {
                return w.word < text;
            });
        if (at != words->end() && at->word == word)
            at->offensive = rating;
    }
    return true;
}

QList<jet4::Column> wordsColumns(bool withOffensive)
{
    QList<jet4::Column> columns{{u"ID"_s, jet4::ColumnType::Long, 0},
                                {u"Category"_s, jet4::ColumnType::Text, 50},
                                {u"Word"_s, jet4::ColumnType::Text, 255},
                                {u"Commonness"_s, jet4::ColumnType::Long, 0}};
    if (withOffensive)
        columns.append({u"Offensive"_s, jet4::ColumnType::Long, 0});
    return columns;
}

jet4::Table wordsTable(const QList<ListedWord> &words, bool withOffensive)
{
    jet4::Table table{u"words"_s, wordsColumns(withOffensive), {}};
    table.rows.reserve(words.size());
    qint32 id = 0;
    for (const ListedWord &w : words) {
        table.rows.append({jet4::Value(++id),
                           jet4::Value(w.category),
                           jet4::Value(w.word),
                           jet4::Value(w.commonness)});
        if (withOffensive)
            table.rows.last().append(jet4::Value(w.offensive));
    }
    return table;
}

} // namespace mkmdb
