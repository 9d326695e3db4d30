// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/WindowKeys.h"

#include "app/WindowControls.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>

namespace app {

void addCommandShortcuts(QWidget &window, const WindowControls &c)
{
    const std::pair<QKeySequence, QPushButton *> shortcuts[] = {
        {QKeySequence(Qt::Key_F1), c.helpButton},
        {QKeySequence(Qt::CTRL | Qt::Key_O), c.loadFileButton},
        {QKeySequence(Qt::CTRL | Qt::Key_S), c.saveTextButton},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), c.copyButton},
        {QKeySequence(Qt::CTRL | Qt::Key_Return), c.startButton},
        {QKeySequence(Qt::CTRL | Qt::Key_Enter), c.startButton},
    };
    for (const auto &[keys, button] : shortcuts)
        QObject::connect(
            new QShortcut(keys, &window), &QShortcut::activated, button, &QPushButton::click);
}

bool clickOnEnter(QObject *watched, QEvent *event)
{
    auto *button = qobject_cast<QPushButton *>(watched);
    if (!button || event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    button->click();
    return true;
}

} // namespace app
