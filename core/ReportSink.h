// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

class QString;

namespace core {

// Where error reports go: the host shows the text in a message box titled
// "Application Error" with the exclamation icon and an OK button.
class ReportSink
{
public:
    virtual ~ReportSink() = default;
    virtual void showErrorReport(const QString &text) = 0;
};

} // namespace core
