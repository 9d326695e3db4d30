// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// digitome-mkmdb: builds the dictionary file dbWords.mdb from word lists.
//
//     digitome-mkmdb [--offensive RATINGS] OUTPUT.mdb OUTPUT.txt LIST...
//
// Writes the table `words` (ID Long Integer, Category Text(50), Word
// Text(255), Commonness Long Integer: the smallest list size holding the
// word; with RATINGS, a file of lines "word TAB rating", Offensive Long
// Integer: 0 none, 1 maybe, 2 likely), one row per word, and the same words
// as UTF-8 text, one a line.

#include "tools/jet4/Jet4Writer.h"
#include "tools/mkmdb/WordList.h"

#include <QCoreApplication>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "digitome-mkmdb: %s\n", qPrintable(message));
    return 1;
}

bool writeText(const QString &path, const QList<mkmdb::ListedWord> &words, QString *error)
{
    QByteArray text;
    for (const mkmdb::ListedWord &w : words)
        text.append(w.word.toUtf8()).append('\n');
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        *error = u"Cannot write '%1': %2"_s.arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString ratings;
    if (args.size() >= 2 && args.first() == u"--offensive") {
        ratings = args.at(1);
        args = args.mid(2);
    }
    if (args.size() < 3)
        return fail(u"usage: digitome-mkmdb [--offensive RATINGS] OUTPUT.mdb OUTPUT.txt LIST..."_s);

    QString error;
    QList<mkmdb::ListedWord> words;
    if (!mkmdb::gatherWords(args.mid(2), &words, &error))
        return fail(error);
    if (!ratings.isEmpty() && !mkmdb::rateWords(ratings, &words, &error))
        return fail(error);

    if (!jet4::writeDatabaseFile(
            args.at(0), {mkmdb::wordsTable(words, !ratings.isEmpty())}, &error))
        return fail(error);
    if (!writeText(args.at(1), words, &error))
        return fail(error);
    std::printf("%lld words\n", static_cast<long long>(words.size()));
    return 0;
}
