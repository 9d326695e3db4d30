#include "FakeWindow.h"

FakeWindow::FakeWindow()
{
    numbers.setHeaders({QStringLiteral("Phone Number")});
    results.setHeaders({QStringLiteral("Results")});
    results.setUserCheckable(true);
}

void FakeWindow::setPointer(engine::Pointer pointer)
{
    currentPointer = pointer;
    pointerHistory.append(pointer);
}

void FakeWindow::yield()
{
    ++yields;
    if (onYield)
        onYield();
}

void FakeWindow::setProgressValue(double value)
{
    progressValue = value;
    progressValues.append(value);
}

void FakeWindow::setProgressText(const QString &text)
{
    progressText = text;
    progressTexts.append(text);
}
