// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "WordList.h"

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
    QHash<QString, QString> found;
    for (const QString &path : listFiles) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            *error = u"Cannot read '%1': %2"_s.arg(path, file.errorString());
            return false;
        }
        const QString category = QFileInfo(path).fileName();
        const QString text = decode(file.readAll());
        for (QStringView line : QStringView(text).split(u'\n')) {
            const QStringView entry = line.trimmed();
            if (!plainLetters(entry))
                continue;
            const QString word = entry.toString().toLower();
            if (word.size() == 1 && word != u"a" && word != u"i")
                continue;
            if (!found.contains(word))
                found.insert(word, category);
        }
    }
    if (!found.contains(u"i"_s))
        found.insert(u"i"_s, u"added"_s);

    words->clear();
    words->reserve(found.size());
    for (auto it = found.cbegin(); it != found.cend(); ++it)
        words->append({it.key(), it.value()});
    std::sort(words->begin(), words->end(), [](const ListedWord &a, const ListedWord &b) {
        return a.word < b.word;
    });
    return true;
}

} // namespace mkmdb
