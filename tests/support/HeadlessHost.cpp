#include "HeadlessHost.h"

#include "engine/Failure.h"

using namespace Qt::Literals::StringLiterals;

HeadlessHost::HeadlessHost() = default;

void HeadlessHost::setMnemonic(bool wordsAndNumbers, bool wordsOnly)
{
    options[1] = true;
    options[2] = false;
    options[3] = wordsAndNumbers;
    options[4] = wordsOnly;
}

void HeadlessHost::setSpelledOut()
{
    options[1] = false;
    options[2] = true;
}

void HeadlessHost::setRunButtonCaption(const QString &text)
{
    caption = text;
    captionHistory.append(text);
}

QString HeadlessHost::numberText(int index) const
{
    if (index < 1 || index > numbers.size())
        throw engine::Failure(u"Index out of bounds"_s);
    return numbers.at(index - 1);
}

void HeadlessHost::clearResults()
{
    results.clear();
    ++clears;
}

bool HeadlessHost::option(int number) const
{
    return number >= 1 && number <= 4 && options[number];
}

void HeadlessHost::setPointer(engine::Pointer value)
{
    pointer = value;
    pointerHistory.append(value);
}

void HeadlessHost::yield()
{
    ++yields;
    if (onYield)
        onYield();
}

void HeadlessHost::setProgressValue(double value)
{
    progressValue = value;
    progressValues.append(value);
}

void HeadlessHost::setProgressText(const QString &text)
{
    progressText = text;
    ++progressTextCount;
    if (recordProgressTexts)
        progressTexts.append(text);
}
