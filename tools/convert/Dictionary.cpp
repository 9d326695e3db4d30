// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tools/convert/Dictionary.h"

#include "core/DataFolders.h"
#include "core/Database.h"
#include "core/Failure.h"
#include "engine/LoadWords.h"
#include "engine/WordListReader.h"
#include "engine/WordStore.h"
#include "platform/JetFileCheck.h"
#include "platform/MdbDatabase.h"

#include <QDir>
#include <QFile>

using namespace Qt::Literals::StringLiterals;

namespace convert {

namespace {

DictionaryLoad readTextList(QFile &file, const QString &path, engine::WordStore &words)
{
    const QString shown = QDir::toNativeSeparators(path);
    const engine::WordListReport report = engine::readWordList(file, words);
    DictionaryLoad load;
    if (report.failureLine > 0)
        load.failure =
            u"'%1', line %2: %3."_s.arg(shown).arg(report.failureLine).arg(report.failure);
    else if (!report.failure.isEmpty())
        load.failure = u"Cannot read the file '%1': %2."_s.arg(shown, report.failure);
    else if (report.damagedLines > 0 && words.isEmpty())
        load.failure = u"'%1' is neither a Jet database nor a text file of words."_s.arg(shown);
    else if (report.damagedLines > 0)
        load.notices.append(
            u"'%1': %2 damaged line(s) skipped (control characters, bytes that are no text, or "
            u"longer than %3 characters), the first is line %4."_s.arg(shown)
                .arg(report.damagedLines)
                .arg(engine::LongestWordLine)
                .arg(report.firstDamagedLine));
    return load;
}

} // namespace

DictionaryLoad loadDictionary(const QString &wordsFile, engine::WordStore &words)
{
    platform::MdbConnection connection;
    try {
        if (wordsFile.isEmpty()) {
            const core::DataFolders folders = core::DataFolders::ofThisProgram();
            connection.open(core::wordsConnectionText(folders.dictionaryFolder()));
        } else {
            std::unique_ptr<QFile> file = platform::openDictionaryFile(wordsFile);
            if (!platform::JetFile::hasDatabaseSignature(file->peek(platform::JetFile::HeaderSize)))
                return readTextList(*file, wordsFile, words);
            connection.openFile(std::move(file), wordsFile);
        }
        engine::loadWords(connection, words);
    } catch (const core::Failure &failure) {
        return {failure.description(), {}};
    }
    return {};
}

} // namespace convert
