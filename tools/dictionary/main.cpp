// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// digitome-dictionary: makes Digitome's dictionary file from word lists.
//
//     digitome-dictionary make [--commonness FILE] [--offensive FILE] [-o OUT]
//                              [--install] LIST...
//
// See digitome-dictionary.1 for the whole description.

#include "core/RegularFile.h"
#include "tools/dictionary/DictionaryWords.h"
#include "tools/dictionary/ListEntries.h"
#include "tools/jet4/Jet4Writer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int Failed = 1;
constexpr int UsageError = 2;
const QString DictionaryFile = u"dbWords.mdb"_s;

void print(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

void complain(const QString &message)
{
    print(stderr, u"digitome-dictionary: "_s + message + u'\n');
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// "1 line", "2 lines".
QString counted(qsizetype count, const QString &one, const QString &many)
{
    return u"%1 %2"_s.arg(count).arg(count == 1 ? one : many);
}

struct MakeRequest
{
    QStringList lists;
    QString commonness; // empty: none
    QString offensive;  // empty: none
    QString output;     // empty: none
    bool install = false;
};

// The command line; nullopt after --help, --version or an error, with the
// exit status in `status`.
std::optional<MakeRequest> parseArguments(const QStringList &arguments, int &status)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Makes Digitome's dictionary (dbWords.mdb) from word lists, for words of any "
        u"language.\n\n"
        u"Each LIST is a text file of one word a line, optionally followed by a TAB and its "
        u"commonness level (smaller is more common), in UTF-8, UTF-16 with a byte-order mark "
        u"or Windows-1252. Words are kept once, lower-cased, with their own letters; entries "
        u"that are not made of letters are passed over."_s);
    const QCommandLineOption commonness(
        u"commonness"_s,
        u"A word list ordered from the most common word down, or of words with a TAB and "
        u"their level: it gives the words their levels (10 for the first 5,000, 20 up to "
        u"15,000, 35 up to 50,000, 50, 70, then 95; 100 for words it leaves out)."_s,
        u"file"_s);
    const QCommandLineOption offensive(
        u"offensive"_s,
        u"A list of words with a TAB and how offensive each is: 0 not, 1 maybe, 2 likely. "
        u"The dictionary gets the column Offensive; words the list leaves out get 0."_s,
        u"file"_s);
    const QCommandLineOption output(
        QStringList{u"o"_s, u"output"_s}, u"Write the dictionary to this file."_s, u"file"_s);
    const QCommandLineOption install(
        u"install"_s,
        u"Put the dictionary where Digitome takes it at its next start (dbWords.mdb in the "
        u"per-user data folder, ~/.local/share/Tarrowen/Digitome), replacing the one there."_s);
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s}, u"Show this help."_s);
    const QCommandLineOption version(u"version"_s, u"Show the version."_s);
    parser.addOptions({commonness, offensive, output, install, help, version});
    parser.addPositionalArgument(u"make"_s, u"The command: make a dictionary."_s);
    parser.addPositionalArgument(u"list"_s, u"Word lists."_s, u"LIST..."_s);

    status = UsageError;
    const auto usage = [&](const QString &message) -> std::optional<MakeRequest> {
        complain(message + u"\nTry 'digitome-dictionary --help' for more information."_s);
        return std::nullopt;
    };
    if (!parser.parse(arguments))
        return usage(parser.errorText());
    if (parser.isSet(help) || parser.isSet(version)) {
        print(stdout,
              parser.isSet(help) ? parser.helpText()
                                 : u"digitome-dictionary " DIGITOME_VERSION "\n"_s);
        status = 0;
        return std::nullopt;
    }
    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usage(u"no command given; the command is make"_s);
    if (positional.first() != u"make")
        return usage(u"unknown command '%1'; the command is make"_s.arg(positional.first()));
    positional.removeFirst();
    MakeRequest request{positional,
                        parser.value(commonness),
                        parser.value(offensive),
                        parser.value(output),
                        parser.isSet(install)};
    if (request.lists.isEmpty())
        return usage(u"make needs at least one word list"_s);
    if (parser.isSet(commonness) && request.commonness.isEmpty())
        return usage(u"--commonness needs a file name"_s);
    if (parser.isSet(offensive) && request.offensive.isEmpty())
        return usage(u"--offensive needs a file name"_s);
    if (parser.isSet(output) && request.output.isEmpty())
        return usage(u"-o needs a file name"_s);
    if (request.output.isEmpty() && !request.install)
        return usage(u"make needs -o FILE, --install or both"_s);
    status = 0;
    return request;
}

bool readList(const QString &path, dictionary::WordList *list)
{
    QString error;
    if (!dictionary::readWordList(path, list, &error)) {
        complain(error);
        return false;
    }
    if (list->skippedLines > 0) {
        complain(u"note: %1: %2 passed over, not one word with an optional TAB and number "
                 u"(the first is line %3)"_s.arg(shown(path))
                     .arg(counted(list->skippedLines, u"line"_s, u"lines"_s))
                     .arg(list->firstSkippedLine));
    }
    return true;
}

// The per-user data folder, made private when it is missing; empty after a
// complaint.
QString installFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty()) {
        complain(u"cannot find the per-user data folder"_s);
        return {};
    }
    if (!core::makePrivateFolders(folder)) {
        QString reason = u"it cannot be made"_s;
#ifdef Q_OS_UNIX
        // Asked again, the system says why.
        if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0)
            reason = QString::fromLocal8Bit(std::strerror(errno));
#endif
        complain(u"cannot make the folder '%1': %2"_s.arg(shown(folder), reason));
        return {};
    }
    return folder;
}

// Copies a written dictionary into place; the old file stays until the new
// one is complete.
bool copyInto(const QString &from, const QString &to)
{
    QFile source(from);
    QSaveFile target(to);
    if (!source.open(QIODevice::ReadOnly)) {
        complain(u"cannot read '%1': %2"_s.arg(shown(from), source.errorString()));
        return false;
    }
    if (!target.open(QIODevice::WriteOnly)) {
        complain(u"cannot write '%1': %2"_s.arg(shown(to), target.errorString()));
        return false;
    }
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(qint64(1) << 20);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError) {
            complain(u"cannot read '%1': %2"_s.arg(shown(from), source.errorString()));
            return false;
        }
        if (target.write(chunk) != chunk.size())
            break;
    }
    if (target.error() != QFileDevice::NoError || !target.commit()) {
        complain(u"cannot write '%1': %2"_s.arg(shown(to), target.errorString()));
        return false;
    }
    return true;
}

int make(const MakeRequest &request)
{
    dictionary::DictionaryWords words;
    for (const QString &path : request.lists) {
        dictionary::WordList list;
        if (!readList(path, &list))
            return Failed;
        words.addList(QFileInfo(path).fileName(), std::move(list));
    }
    words.finish();
    if (!request.commonness.isEmpty()) {
        dictionary::WordList ranking;
        if (!readList(request.commonness, &ranking))
            return Failed;
        words.rank(ranking);
    }
    if (!request.offensive.isEmpty()) {
        dictionary::WordList ratings;
        if (!readList(request.offensive, &ratings))
            return Failed;
        const qsizetype passedOver = words.rate(ratings);
        if (passedOver > 0) {
            complain(u"note: %1: %2 passed over, ratings are 0, 1 or 2"_s.arg(
                shown(request.offensive), counted(passedOver, u"entry"_s, u"entries"_s)));
        }
    }
    if (words.notLetters() > 0) {
        complain(u"note: %1 passed over, not made of letters (the first is '%2')"_s
                     .arg(counted(words.notLetters(), u"entry"_s, u"entries"_s))
                     .arg(words.firstNotLetters()));
    }
    if (words.tooLong() > 0) {
        complain(u"note: %1 passed over, longer than %2 characters"_s
                     .arg(counted(words.tooLong(), u"entry"_s, u"entries"_s))
                     .arg(dictionary::DictionaryWords::MaxWordLength));
    }
    if (words.words().isEmpty()) {
        complain(u"the word lists hold no words; nothing written"_s);
        return Failed;
    }

    QString installed;
    if (request.install) {
        const QString folder = installFolder();
        if (folder.isEmpty())
            return Failed;
        installed = folder + u'/' + DictionaryFile;
    }
    const QString written = request.output.isEmpty() ? installed : request.output;
    QString error;
    if (!jet4::writeDatabaseFile(written, {words.table()}, &error)) {
        complain(error);
        return Failed;
    }
    const QString count = counted(words.words().size(), u"word"_s, u"words"_s);
    if (written != installed)
        print(stdout, u"%1 written to '%2'\n"_s.arg(count, shown(written)));
    if (!installed.isEmpty()) {
        if (installed != written && !copyInto(written, installed))
            return Failed;
        print(stdout,
              u"%1 installed as '%2': Digitome takes it at its next start\n"_s.arg(
                  count, shown(installed)));
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setOrganizationName(u"Tarrowen"_s);
    QCoreApplication::setApplicationName(u"Digitome"_s);

    int status = 0;
    const std::optional<MakeRequest> request = parseArguments(application.arguments(), status);
    if (!request)
        return status;
    return make(*request);
}
