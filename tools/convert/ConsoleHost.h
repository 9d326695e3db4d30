// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/ItemListModel.h"
#include "core/RunHost.h"

#include <QStringList>

#include <functional>

namespace convert {

// The host of a conversion run without widgets: one number in the number
// list, the options of the command line, result lines handed to a callback,
// error reports collected.
class ConsoleHost : public core::RunHost
{
public:
    explicit ConsoleHost(const core::ConversionOptions &options);

    // Each result line as the run appends it.
    std::function<void(const QString &line)> onResult;
    // Called at every yield.
    std::function<void()> onYield;

    // Puts `number` alone into the number list and forgets earlier reports.
    void setNumber(const QString &number);
    // The error reports since setNumber(), line breaks as LF.
    const QStringList &reports() const { return m_reports; }

    // core::RunHost
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
    void setProgressValue(double) override {}
    void setProgressText(const QString &) override {}
    void showGeneratedCount(qint64) override {}
    void showErrorReport(const QString &text) override;

private:
    core::ConversionOptions m_options;
    core::Pointer m_pointer = core::Pointer::Default;
    core::ItemListModel m_numbers;
    core::ItemListModel m_results;
    QStringList m_reports;
};

} // namespace convert
