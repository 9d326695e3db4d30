// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/Dialogs.h"

#include <QPointer>

class QMessageBox;
class QWidget;

namespace platform {

// Message boxes, the text prompt and the file dialogs as Qt's standard
// dialogs, modal to the main window.
class QtDialogs : public core::Dialogs
{
public:
    explicit QtDialogs(QWidget *parent = nullptr);

    void setParent(QWidget *parent) { m_parent = parent; }
    void message(const QString &text, const QString &title, Icon icon) override;
    bool askYesNo(const QString &text, const QString &title) override;
    QString prompt(const QString &label, const QString &title) override;
    QStringList openFiles(const QString &title, const QStringList &filters) override;
    QString saveFile(const QString &title, const QStringList &filters) override;

    // CR LF, a lone CR and a lone LF each become one line break.
    static QString displayText(const QString &text);
    // A displayed text as rich text in which web addresses are never broken
    // between lines.
    static QString unbreakableAddresses(const QString &text);

private:
    QString titleOrDefault(const QString &title) const;
    QWidget *dialogParent() const;
    static int exec(QMessageBox &box, const QString &text);

    QPointer<QWidget> m_parent;
};

} // namespace platform
