// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "QtDialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

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

void QtDialogs::message(const QString &text, const QString &title, Icon icon)
{
    QMessageBox box(icon == Icon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    titleOrDefault(title),
                    displayText(text),
                    QMessageBox::Ok,
                    m_parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtDialogs::askYesNo(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::NoIcon,
                    titleOrDefault(title),
                    displayText(text),
                    QMessageBox::Yes | QMessageBox::No,
                    m_parent);
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

QString QtDialogs::prompt(const QString &label, const QString &title)
{
    bool accepted = false;
    const QString answer = QInputDialog::getText(m_parent,
                                                 titleOrDefault(title),
                                                 displayText(label),
                                                 QLineEdit::Normal,
                                                 QString(),
                                                 &accepted);
    return accepted ? answer : QString();
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
