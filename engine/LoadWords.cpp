// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/LoadWords.h"

#include "core/Database.h"
#include "core/Failure.h"
#include "engine/LowerCase.h"
#include "engine/WordFeed.h"
#include "engine/WordStore.h"

using namespace Qt::Literals::StringLiterals;

namespace engine {

void loadWords(core::Connection &connection, WordStore &store)
{
    const std::unique_ptr<core::RecordSet> rows =
        connection.openRecordSet(u"select * from words"_s);
    const auto columnNamed = [&](const QString &name) {
        for (int position = 0; position < rows->fieldCount(); ++position) {
            if (rows->fieldName(position).compare(name, Qt::CaseInsensitive) == 0)
                return position;
        }
        return -1;
    };
    // A whole number of an optional column; 0 when the column is missing or
    // holds a null or anything else.
    const auto wholeNumber = [&](int column) {
        return column < 0 ? 0 : rows->fieldWholeNumber(column).value_or(0);
    };
    const int commonnessColumn = columnNamed(u"Commonness"_s);
    const int offensiveColumn = columnNamed(u"Offensive"_s);
    // The rows are read here while a worker adds the words before them.
    WordFeed feed(store, rows->recordCount(), WordFeed::Repeats::Fail);
    // Two strings for all the rows: millions of words make no string each.
    QString value;
    QString word;
    try {
        while (!rows->eof()) {
            if (!rows->fieldInto(2, value))
                throw core::Failure(u"Invalid use of Null"_s);
            lowerCase(value, word);
            if (!feed.add(word, wholeNumber(commonnessColumn), wholeNumber(offensiveColumn)))
                break;
            rows->moveNext();
        }
    } catch (...) {
        // The words before the failing row are added; a failure among them
        // comes first.
        feed.finish();
        throw;
    }
    feed.finish();
    if (rows->state() != core::ObjectState::Closed)
        rows->close();
}

} // namespace engine
