// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/Clipboard.h"
#include "core/Dialogs.h"
#include "core/ItemListModel.h"
#include "core/Spreadsheet.h"
#include "core/Window.h"

#include <QStringList>

#include <functional>

namespace convert {

// The main window as the conversion run sees it, without widgets: one number
// in the number list, the options of the command line, result lines handed
// to a callback, error reports collected. Dialogs, clipboard and spreadsheet
// fail if anything asks for them (the conversion run never does).
class ConsoleWindow : public core::Window
{
public:
    explicit ConsoleWindow(const core::ConversionOptions &options);

    // Each result line as the run appends it.
    std::function<void(const QString &line)> onResult;
    // Called at every yield.
    std::function<void()> onYield;

    // Puts `number` alone into the number list and forgets earlier reports.
    void setNumber(const QString &number);
    // The error reports since setNumber(), line breaks as LF.
    const QStringList &reports() const { return m_reports; }

    // core::Window
    core::Pointer pointer() const override { return m_pointer; }
    void setPointer(core::Pointer pointer) override { m_pointer = pointer; }
    void yield() override;
    core::ItemListModel &numberList() override { return m_numbers; }
    core::ItemListModel &resultsList() override { return m_results; }
    // The converter knows its number: it ranks each number's lines itself.
    void startNumber(const QString &) override {}
    void appendResult(const QString &line) override;
    core::ConversionOptions conversionOptions() const override { return m_options; }
    void showRunning(bool) override {}
    core::Dialogs &dialogs() override { return m_dialogs; }
    core::Clipboard &clipboard() override { return m_clipboard; }
    core::Spreadsheet &spreadsheet() override { return m_spreadsheet; }
    void setProgressValue(double) override {}
    void setProgressText(const QString &) override {}
    void showGeneratedCount(qint64) override {}
    void showErrorReport(const QString &text) override;

private:
    class NoDialogs : public core::Dialogs
    {
    public:
        void message(const QString &, const QString &, Icon) override;
        bool askYesNo(const QString &, const QString &) override;
        QString prompt(const QString &, const QString &) override;
        QStringList openFiles(const QString &, const QStringList &) override;
        QString saveFile(const QString &, const QStringList &) override;
    };
    class NoClipboard : public core::Clipboard
    {
    public:
        bool clear() override;
        bool setText(const QString &) override;
    };
    class NoSpreadsheet : public core::Spreadsheet
    {
    public:
        bool isAvailable() const override { return false; }
        std::unique_ptr<core::SpreadsheetApplication> create() override;
    };

    core::ConversionOptions m_options;
    core::Pointer m_pointer = core::Pointer::Default;
    core::ItemListModel m_numbers;
    core::ItemListModel m_results;
    NoDialogs m_dialogs;
    NoClipboard m_clipboard;
    NoSpreadsheet m_spreadsheet;
    QStringList m_reports;
};

} // namespace convert
