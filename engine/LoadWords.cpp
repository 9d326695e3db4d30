#include "LoadWords.h"

#include "Database.h"
#include "Failure.h"
#include "WordStore.h"

using namespace Qt::Literals::StringLiterals;

namespace engine {

void LoadWords(Connection &WordsConnection, WordStore &store)
{
    const std::unique_ptr<RecordSet> rsWords =
        WordsConnection.openRecordSet(u"select * from words"_s);
    while (!rsWords->eof()) {
        const std::optional<QString> value = rsWords->field(2);
        if (!value)
            throw Failure(u"Invalid use of Null"_s);
        store.add(value->toLower());
        rsWords->moveNext();
    }
    if (rsWords->state() != ObjectState::Closed)
        rsWords->close();
}

} // namespace engine
