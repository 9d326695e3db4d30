// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/Dialogs.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

// Records every dialog shown and answers from queues set up by the test.
// An empty queue answers "cancel" (empty text, no files, No).
class FakeDialogs : public core::Dialogs
{
public:
    struct Shown
    {
        QString kind; // "message", "yesno", "prompt", "open", "save"
        QString text;
        QString title;
        Icon icon = Icon::None;
        QStringList filters;
    };

    QList<Shown> shown;
    QQueue<QString> promptAnswers;
    QQueue<QStringList> openAnswers;
    QQueue<QString> saveAnswers;
    QQueue<bool> yesNoAnswers;

    void message(const QString &text, const QString &title, Icon icon) override
    {
        shown.append({QStringLiteral("message"), text, title, icon, {}});
    }
    bool askYesNo(const QString &text, const QString &title) override
    {
        shown.append({QStringLiteral("yesno"), text, title, Icon::None, {}});
        return !yesNoAnswers.isEmpty() && yesNoAnswers.dequeue();
    }
    QString prompt(const QString &label, const QString &title) override
    {
        shown.append({QStringLiteral("prompt"), label, title, Icon::None, {}});
        return promptAnswers.isEmpty() ? QString() : promptAnswers.dequeue();
    }
    QStringList openFiles(const QString &title, const QStringList &filters) override
    {
        shown.append({QStringLiteral("open"), {}, title, Icon::None, filters});
        return openAnswers.isEmpty() ? QStringList() : openAnswers.dequeue();
    }
    QString saveFile(const QString &title, const QStringList &filters) override
    {
        shown.append({QStringLiteral("save"), {}, title, Icon::None, filters});
        return saveAnswers.isEmpty() ? QString() : saveAnswers.dequeue();
    }

    // The texts of the error reports shown so far.
    QStringList errorReports() const
    {
        QStringList texts;
        for (const Shown &s : shown)
            if (s.kind == QLatin1String("message") && s.title == QLatin1String("Application Error"))
                texts.append(s.text);
        return texts;
    }
    // The texts of the plain messages (not error reports) shown so far.
    QStringList messages() const
    {
        QStringList texts;
        for (const Shown &s : shown)
            if (s.kind == QLatin1String("message") && s.title != QLatin1String("Application Error"))
                texts.append(s.text);
        return texts;
    }
};
