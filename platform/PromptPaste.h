// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QString>

class QLineEdit;

namespace platform {

// Pasting into a prompt's line edit. The edit records a paste character by
// character for its undo and lays its whole text out at every change, both
// costly for a pasted list of megabytes (a 10 MB paste took seconds without
// answering). So:
// - a paste of up to UndoablePaste characters is the edit's own;
// - a longer one goes in as one new text (the edit cannot undo it);
// - a text that would grow past LongText characters is held here instead:
//   the edit shows its beginning and its length, read-only. Typing and
//   pasting go on where the paste ended, Backspace or Delete drop the whole
//   held text, and text() gives it whole.
class PromptPaste : public QObject
{
public:
    static constexpr qsizetype UndoablePaste = 65'536;
    static constexpr qsizetype LongText = 150'000;
    // The characters of a held text the edit shows.
    static constexpr qsizetype Shown = 200;

    explicit PromptPaste(QLineEdit &edit);

    // The prompt's text: the held one, or the edit's.
    QString text() const;
    bool isHolding() const { return !m_held.isNull(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void paste();
    // Inserts into the held text where the last insertion ended.
    void insert(const QString &text);
    void showHeld();
    void drop();

    QLineEdit &m_edit;
    QString m_held; // null while the edit holds the text itself
    qsizetype m_cursor = 0;
};

} // namespace platform
