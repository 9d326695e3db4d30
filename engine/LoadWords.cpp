// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/LoadWords.h"

#include "core/Database.h"
#include "core/Failure.h"
#include "engine/WordStore.h"

using namespace Qt::Literals::StringLiterals;

namespace engine {

void loadWords(core::Connection &connection, WordStore &store)
{
    const std::unique_ptr<core::RecordSet> rows =
        connection.openRecordSet(u"select * from words"_s);
    const int commonnessColumn = [&] {
        for (int position = 0; position < rows->fieldCount(); ++position) {
            if (rows->fieldName(position).compare(u"Commonness"_s, Qt::CaseInsensitive) == 0)
                return position;
        }
        return -1;
    }();
    store.reserve(rows->recordCount());
    while (!rows->eof()) {
        const std::optional<QString> value = rows->field(2);
        if (!value)
            throw core::Failure(u"Invalid use of Null"_s);
        int commonness = 0;
        if (commonnessColumn >= 0) {
            bool ok = false;
            commonness = rows->field(commonnessColumn).value_or(QString()).toInt(&ok);
            if (!ok)
                commonness = 0;
        }
        store.add(value->toLower(), commonness);
        rows->moveNext();
    }
    if (rows->state() != core::ObjectState::Closed)
        rows->close();
}

} // namespace engine
