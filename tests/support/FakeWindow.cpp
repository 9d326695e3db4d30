// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tests/support/FakeWindow.h"

#include "tests/support/TestHelpers.h"

FakeWindow::FakeWindow()
{
    numbers.setHeaders({QStringLiteral("Phone Number")});
    results.setHeaders({QStringLiteral("Results")});
    results.setUserCheckable(true);
    QObject::connect(&results, &QAbstractItemModel::modelReset, [this] {
        ++resultClears;
    });
}

void FakeWindow::setNumbers(const QStringList &texts)
{
    testsupport::fill(numbers, texts);
}

void FakeWindow::setResults(const QStringList &texts)
{
    testsupport::fill(results, texts, true);
    resultClears = 0;
}

QStringList FakeWindow::numberTexts() const
{
    return testsupport::texts(numbers);
}

QStringList FakeWindow::resultTexts() const
{
    return testsupport::texts(results);
}

void FakeWindow::setMnemonic(bool wordsAndNumbers, bool wordsOnly)
{
    options.conversion = core::ConversionOptions::Conversion::Mnemonic;
    options.keepMixedLines = wordsAndNumbers;
    options.keepWordsOnlyLines = wordsOnly;
}

void FakeWindow::setSpelledOut()
{
    options.conversion = core::ConversionOptions::Conversion::SpelledOut;
}

void FakeWindow::setPointer(core::Pointer pointer)
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

void FakeWindow::startNumber(const QString &number)
{
    startedNumbers.append(number);
    results.startGroup(number);
}

void FakeWindow::appendResult(const QString &line)
{
    if (onResult)
        onResult(line);
    else
        results.append(line, true);
}

bool FakeWindow::beginResult(qsizetype utf8Size)
{
    if (onResult)
        return false;
    results.beginPendingLine(utf8Size);
    return true;
}

void FakeWindow::writeResult(QByteArrayView utf8)
{
    results.writePendingLine(utf8);
}

bool FakeWindow::endResult(bool keep)
{
    if (!keep) {
        results.dropPendingLine();
        return false;
    }
    const bool appended = results.endPendingLine(true);
    results.showPending();
    return appended;
}

void FakeWindow::showRunning(bool running)
{
    caption = running ? QStringLiteral("Stop") : QStringLiteral("Start Converting");
    captionHistory.append(caption);
}

void FakeWindow::showLoading(bool loading)
{
    caption = loading ? QStringLiteral("Stop") : QStringLiteral("Start Converting");
    captionHistory.append(caption);
    if (!loading)
        stopLoading = false;
}

void FakeWindow::setProgressValue(double value)
{
    progressValue = value;
    if (recordProgress)
        progressValues.append(value);
}

void FakeWindow::setProgressText(const QString &text)
{
    progressText = text;
    ++progressTextCount;
    if (recordProgress)
        progressTexts.append(text);
}

void FakeWindow::showGeneratedCount(qint64 count)
{
    // The real window writes the caption only when it draws; a long run that
    // is not recorded does not format it either.
    if (recordProgress)
        setProgressText(generatingCaption(count));
    else
        ++progressTextCount;
}
