// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/ItemListModel.h"
#include "core/RunHost.h"
#include "tests/support/FakeClipboard.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakeSpreadsheet.h"

#include <QList>
#include <QStringList>

#include <functional>

// A main window without widgets, for the conversion run and the list and
// output commands: real list models, options set by the test, and
// recordings of what the commands showed; beside it the fake dialogs,
// clipboard and spreadsheet that tests hand to the commands that use them.
// Error reports go to the dialogs.
class FakeWindow : public core::RunHost
{
public:
    FakeWindow();

    core::ItemListModel numbers;
    core::ItemListModel results;
    FakeDialogs fakeDialogs;
    FakeClipboard fakeClipboard;
    FakeSpreadsheet fakeSpreadsheet;
    // Another spreadsheet (a real one, say) instead of the fake.
    core::Spreadsheet *spreadsheetOverride = nullptr;
    // Default: mnemonic conversion, words only.
    core::ConversionOptions options;

    // What the commands did.
    core::Pointer currentPointer = core::Pointer::Default;
    QList<core::Pointer> pointerHistory;
    QString caption = QStringLiteral("Start Converting"); // the start button's
    QStringList captionHistory;
    double progressValue = 0;
    QList<double> progressValues;
    QString progressText = QStringLiteral("Progress Bar");
    // Every progress value and caption, unless recordProgress is false (long
    // runs and benchmarks, which count the captions instead).
    QStringList progressTexts;
    bool recordProgress = true;
    qint64 progressTextCount = 0;
    qint64 yields = 0;
    int resultClears = 0;
    QStringList startedNumbers;
    // A load asked to stop, as a click on "Stop" during it does.
    bool stopLoading = false;
    // Runs at each yield: lets a test click, remove items or change options
    // "during" a command.
    std::function<void()> onYield;
    // When set, result lines go here instead of into `results` (benchmarks).
    std::function<void(const QString &)> onResult;

    void setNumbers(const QStringList &texts);
    void setResults(const QStringList &texts);
    QStringList numberTexts() const;
    QStringList resultTexts() const;
    QStringList reports() const { return fakeDialogs.errorReports(); }
    void setMnemonic(bool wordsAndNumbers, bool wordsOnly);
    void setSpelledOut();

    // The services a test hands to the commands that use them.
    core::Dialogs &dialogs() { return fakeDialogs; }
    core::Clipboard &clipboard() { return fakeClipboard; }
    core::Spreadsheet &spreadsheet()
    {
        return spreadsheetOverride ? *spreadsheetOverride : fakeSpreadsheet;
    }

    // core::RunHost
    core::Pointer pointer() const override { return currentPointer; }
    void setPointer(core::Pointer pointer) override;
    void yield() override;
    core::ItemListModel &numberList() override { return numbers; }
    core::ItemListModel &resultsList() override { return results; }
    void startNumber(const QString &number) override;
    void appendResult(const QString &line) override;
    // Lines in pieces go into `results` too, unless onResult takes the lines.
    bool beginResult(qsizetype utf8Size) override;
    void writeResult(QByteArrayView utf8) override;
    bool endResult(bool keep) override;
    core::ConversionOptions conversionOptions() const override { return options; }
    void showRunning(bool running) override;
    void showLoading(bool loading) override;
    bool loadStopRequested() const override { return stopLoading; }
    void setProgressValue(double value) override;
    void setProgressText(const QString &text) override;
    void showGeneratedCount(qint64 count) override;
    void showErrorReport(const QString &text) override { fakeDialogs.showErrorReport(text); }
};
