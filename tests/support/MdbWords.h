// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/Failure.h"
#include "engine/LoadWords.h"
#include "engine/WordStore.h"
#include "platform/MdbDatabase.h"

#include <QString>
#include <QtGlobal>

namespace testsupport {

// Loads the words of the dictionary file at `path` as the window does (link
// engine and platform_mdb); returns the failure's description, empty when
// none.
inline QString loadMdbWords(const QString &path, engine::WordStore &words)
{
    platform::MdbConnection connection;
    try {
        connection.open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source= ") + path);
        engine::loadWords(connection, words);
    } catch (const core::Failure &failure) {
        return failure.description();
    }
    return {};
}

// The shipped dictionary beside the built program (DIGITOME_APP_DIR), loaded
// once; a test without it cannot run.
inline const engine::WordStore &shippedWords()
{
    static const engine::WordStore words = [] {
        engine::WordStore store;
        const QString failure = loadMdbWords(
            qEnvironmentVariable("DIGITOME_APP_DIR") + QStringLiteral("/dbWords.mdb"), store);
        if (!failure.isEmpty())
            qFatal("%s", qPrintable(failure));
        return store;
    }();
    return words;
}

} // namespace testsupport
