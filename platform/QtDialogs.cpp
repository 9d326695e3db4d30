// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "platform/QtDialogs.h"

#include "platform/PromptPaste.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>

#include <algorithm>
#include <limits>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace platform {

QtDialogs::QtDialogs(QWidget *parent)
    : m_parent(parent)
{}

QString QtDialogs::displayText(const QString &text)
{
    QString result = text;
    result.replace(u"\r\n"_s, u"\n"_s);
    result.replace(u'\r', u'\n');
    return result;
}

QString QtDialogs::titleOrDefault(const QString &title) const
{
    return title.isEmpty() ? applicationTitle() : title;
}

namespace {

bool isWebAddress(const QString &word)
{
    return word.contains(QStringLiteral("://"));
}

} // namespace

QWidget *QtDialogs::dialogParent() const
{
    // Before the window shows (reports at start-up) a box has no parent, so
    // that it is centred on the screen rather than on a window not yet placed.
    return m_parent && m_parent->isVisible() ? m_parent.data() : nullptr;
}

int QtDialogs::exec(QMessageBox &box, const QString &text)
{
    // A web address is kept on one line (line breaking would split it after
    // "https://"): the text goes as rich text with addresses unbreakable, and
    // the box is wide enough for its widest word.
    // No address holds a blank, so the text has one when it holds "://".
    if (!isWebAddress(text)) {
        box.setTextFormat(Qt::PlainText);
        return box.exec();
    }
    box.setTextFormat(Qt::RichText);
    box.setText(unbreakableAddresses(text));
    if (auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))) {
        const QFontMetrics metrics(label->font());
        int widest = 0;
        for (const QString &line : text.split(u'\n'))
            if (isWebAddress(line))
                widest = std::max(widest, metrics.horizontalAdvance(line));
        const int screenWidth = box.screen() ? box.screen()->availableGeometry().width() : 1024;
        label->setMinimumWidth(std::min(widest + 4, screenWidth * 3 / 4));
    }
    return box.exec();
}

QString QtDialogs::unbreakableAddresses(const QString &text)
{
    // One paragraph a line; a line with an address is not wrapped at all.
    QString html;
    for (const QString &line : text.split(u'\n')) {
        html += isWebAddress(line) ? QStringLiteral("<div style=\"white-space:nowrap\">")
                                   : QStringLiteral("<div>");
        html += line.isEmpty() ? QStringLiteral("&#160;") : line.toHtmlEscaped();
        html += QStringLiteral("</div>");
    }
    return html;
}

void QtDialogs::message(const QString &text, const QString &title, Icon icon)
{
    QMessageBox box(icon == Icon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    titleOrDefault(title),
                    displayText(text),
                    QMessageBox::Ok,
                    dialogParent());
    exec(box, displayText(text));
}

bool QtDialogs::askYesNo(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::NoIcon,
                    titleOrDefault(title),
                    displayText(text),
                    QMessageBox::Yes | QMessageBox::No,
                    dialogParent());
    return exec(box, displayText(text)) == QMessageBox::Yes;
}

QString QtDialogs::prompt(const QString &label, const QString &title)
{
    QInputDialog dialog(dialogParent());
    dialog.setWindowTitle(titleOrDefault(title));
    dialog.setLabelText(displayText(label));
    dialog.setInputMode(QInputDialog::TextInput);
    PromptPaste *paste = nullptr;
    // Any length may be typed or pasted: a list of numbers is never cut.
    if (auto *edit = dialog.findChild<QLineEdit *>()) {
        edit->setMaxLength(std::numeric_limits<int>::max());
        paste = new PromptPaste(*edit);
    }
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return paste ? paste->text() : dialog.textValue();
}

QStringList QtDialogs::openFiles(const QString &title, const QStringList &filters)
{
    return QFileDialog::getOpenFileNames(m_parent, title, QString(), filters.join(u";;"_s));
}

QString QtDialogs::saveFile(const QString &title, const QStringList &filters)
{
    // The caller asks its own overwrite question.
    return QFileDialog::getSaveFileName(m_parent,
                                        title,
                                        QString(),
                                        filters.join(u";;"_s),
                                        nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

} // namespace platform
