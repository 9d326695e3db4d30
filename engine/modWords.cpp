#include "modWords.h"

#include "Failure.h"
#include "WordStore.h"
#include "modPhone.h"

using namespace Qt::Literals::StringLiterals;

namespace engine::modWords {

bool AcceptsPiece(const WordStore &words, QStringView piece)
{
    const QString lowered = piece.toString().toLower();
    return words.contains(lowered) || modPhone::IsNumericText(lowered);
}

void SplitIntoWords(const WordStore &words,
                    const QString &remaining,
                    const QString &accumulated,
                    QStringList &entries)
{
    if (remaining.isEmpty()) {
        entries.append(accumulated);
        return;
    }
    if (remaining.size() > 32767)
        throw Failure(u"Overflow"_s);
    for (qsizetype length = 1; length <= remaining.size(); ++length) {
        if (AcceptsPiece(words, QStringView(remaining).left(length))) {
            SplitIntoWords(
                words, remaining.mid(length), accumulated + u' ' + remaining.left(length), entries);
        }
    }
}

} // namespace engine::modWords
