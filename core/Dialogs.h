// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/ReportSink.h"

#include <QString>
#include <QStringList>

namespace core {

// Message boxes, the text prompt and the file dialogs. A message or prompt
// given an empty title carries the application title. Texts are passed as
// the program builds them (CR, CR LF, LF all mean a line break).
class Dialogs : public core::ReportSink
{
public:
    enum class Icon { None, Exclamation };

    // An OK box.
    virtual void
    message(const QString &text, const QString &title = {}, Icon icon = Icon::None) = 0;
    // A Yes/No box without icon; true for Yes.
    virtual bool askYesNo(const QString &text, const QString &title = {}) = 0;
    // A text prompt; the empty text when cancelled or left empty.
    virtual QString prompt(const QString &label, const QString &title = {}) = 0;
    // The open dialog with multiple selection: the chosen full paths, none
    // when cancelled. `filters` as Qt takes them, e.g. "Text Files (*.txt)".
    virtual QStringList openFiles(const QString &title, const QStringList &filters) = 0;
    // The save dialog: the chosen path, empty when cancelled. It asks no
    // overwrite question of its own.
    virtual QString saveFile(const QString &title, const QStringList &filters) = 0;

    // The title of boxes and prompts that give none of their own.
    void setApplicationTitle(const QString &title) { m_applicationTitle = title; }
    const QString &applicationTitle() const { return m_applicationTitle; }

    // core::ReportSink: "Application Error", exclamation icon, OK.
    void showErrorReport(const QString &text) override
    {
        message(text, QStringLiteral("Application Error"), Icon::Exclamation);
    }

private:
    QString m_applicationTitle;
};

} // namespace core
