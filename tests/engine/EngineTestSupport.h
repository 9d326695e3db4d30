// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/ConversionRun.h"
#include "engine/WordStore.h"
#include "tests/support/FakeWindow.h"

#include <QFile>
#include <QStringList>

// Small helpers shared by the engine's tests.
namespace enginetest {

inline engine::WordStore storeOf(const QStringList &words)
{
    engine::WordStore store;
    for (const QString &word : words)
        store.add(word);
    return store;
}

// A word list of one word a line (UTF-8), lower-cased, without blank lines
// and repeats; empty when the file is missing.
inline engine::WordStore wordList(const QString &path)
{
    engine::WordStore store;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return store;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString &line : lines) {
        const QString word = line.toLower();
        if (!word.isEmpty())
            store.tryAdd(word);
    }
    return store;
}

// /usr/share/dict/american-english (empty when the file is missing).
inline engine::WordStore americanEnglish()
{
    return wordList(QStringLiteral("/usr/share/dict/american-english"));
}

// One click of "Start Converting" on `host` with the given search.
inline void runOnce(FakeWindow &host,
                    const engine::WordStore &store,
                    engine::ConversionRun::SearchMode mode,
                    qint64 *generatedCount = nullptr)
{
    engine::ConversionRun run(store);
    run.setSearchMode(mode);
    run.startOrStop(host);
    if (generatedCount)
        *generatedCount = run.generatedCount();
}

} // namespace enginetest
