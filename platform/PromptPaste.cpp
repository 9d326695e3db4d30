// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "platform/PromptPaste.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace platform {

PromptPaste::PromptPaste(QLineEdit &edit)
    : QObject(&edit)
    , m_edit(edit)
{
    edit.installEventFilter(this);
}

QString PromptPaste::text() const
{
    return isHolding() ? m_held : m_edit.text();
}

bool PromptPaste::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_edit)
        return false;
    if (event->type() == QEvent::ContextMenu) {
        std::unique_ptr<QMenu> menu(m_edit.createStandardContextMenu());
        if (auto *pasteAction = menu->findChild<QAction *>(u"edit-paste"_s)) {
            pasteAction->disconnect();
            pasteAction->setEnabled(true);
            connect(pasteAction, &QAction::triggered, this, &PromptPaste::paste);
        }
        menu->exec(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->matches(QKeySequence::Paste)) {
        paste();
        return true;
    }
    if (!isHolding())
        return false;
    // Keys that would edit what the edit shows act on the held text.
    if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete
        || key->matches(QKeySequence::Cut)) {
        drop();
        return true;
    }
    const QString typed = key->text();
    if (!typed.isEmpty() && typed.front().isPrint()) {
        insert(typed);
        return true;
    }
    return false; // Enter, Escape, moving the cursor, copying
}

void PromptPaste::paste()
{
    const QString pasted = QGuiApplication::clipboard()->text();
    if (isHolding()) {
        insert(pasted);
        return;
    }
    if (pasted.size() <= UndoablePaste && m_edit.text().size() + pasted.size() <= LongText) {
        m_edit.paste();
        return;
    }
    if (m_edit.text().isEmpty() && pasted.size() > LongText) {
        m_held = pasted; // shared, not copied
        m_cursor = pasted.size();
        showHeld();
        return;
    }
    QString text = m_edit.text();
    const qsizetype start =
        m_edit.hasSelectedText() ? m_edit.selectionStart() : m_edit.cursorPosition();
    const qsizetype replaced = m_edit.hasSelectedText() ? m_edit.selectionLength() : 0;
    text.replace(start, replaced, pasted);
    if (text.size() > LongText) {
        m_held = std::move(text);
        m_cursor = start + pasted.size();
        showHeld();
        return;
    }
    m_edit.setText(text);
    m_edit.setCursorPosition(int(start + pasted.size()));
}

void PromptPaste::insert(const QString &text)
{
    m_held.insert(m_cursor, text);
    m_cursor += text.size();
    showHeld();
}

void PromptPaste::showHeld()
{
    m_edit.setReadOnly(true);
    m_edit.setText(m_held.left(Shown) + u" … (%L1 characters)"_s.arg(m_held.size()));
    m_edit.setCursorPosition(0);
}

void PromptPaste::drop()
{
    m_held = QString();
    m_cursor = 0;
    m_edit.clear();
    m_edit.setReadOnly(false);
}

} // namespace platform
