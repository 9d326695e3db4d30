#pragma once

#include "FakeClipboard.h"
#include "FakeDialogs.h"
#include "FakeSpreadsheet.h"
#include "lists/CommandWindow.h"
#include "lists/ItemListModel.h"

#include <QStringList>

#include <functional>

// A headless main window for the list and output commands: real list models,
// fake dialogs and clipboard, a progress bar that records what it showed.
class FakeWindow : public lists::CommandWindow, public engine::ProgressDisplay
{
public:
    FakeWindow();

    lists::ItemListModel numbers;
    lists::ItemListModel results;
    FakeDialogs fakeDialogs;
    FakeClipboard fakeClipboard;
    FakeSpreadsheet fakeSpreadsheet;

    engine::Pointer currentPointer = engine::Pointer::Default;
    QList<engine::Pointer> pointerHistory;
    double progressValue = 0;
    QString progressText = QStringLiteral("Progress Bar");
    QList<double> progressValues;
    QStringList progressTexts;
    int yields = 0;
    // Runs at each yield: lets a test act "during" a command.
    std::function<void()> onYield;

    engine::Pointer pointer() const override { return currentPointer; }
    void setPointer(engine::Pointer pointer) override;
    lists::ItemListModel &numberList() override { return numbers; }
    lists::ItemListModel &resultsList() override { return results; }
    engine::ProgressDisplay &progress() override { return *this; }
    void yield() override;
    platform::Dialogs &dialogs() override { return fakeDialogs; }
    platform::Clipboard &clipboard() override { return fakeClipboard; }
    // Another spreadsheet (a real one, say) instead of the fake.
    platform::Spreadsheet *spreadsheetOverride = nullptr;
    platform::Spreadsheet &spreadsheet() override
    {
        return spreadsheetOverride ? *spreadsheetOverride : fakeSpreadsheet;
    }

    void setProgressValue(double value) override;
    void setProgressText(const QString &text) override;
};
