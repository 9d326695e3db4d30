// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "LoadWords.h"

#include "Database.h"
#include "Failure.h"
#include "WordStore.h"

using namespace Qt::Literals::StringLiterals;

namespace engine {

void loadWords(core::Connection &connection, WordStore &store)
{
    const std::unique_ptr<core::RecordSet> rows =
        connection.openRecordSet(u"select * from words"_s);
    while (!rows->eof()) {
        const std::optional<QString> value = rows->field(2);
        if (!value)
            throw core::Failure(u"Invalid use of Null"_s);
        store.add(value->toLower());
        rows->moveNext();
    }
    if (rows->state() != core::ObjectState::Closed)
        rows->close();
}

} // namespace engine
