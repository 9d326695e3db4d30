// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "WindowSkin.h"

#include "Failure.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QRadioButton>
#include <QStringDecoder>
#include <QWidget>

using namespace Qt::Literals::StringLiterals;

namespace app {

void applyWindowSkin(QWidget &window, const QString &applicationFolder)
{
    const QString path = applicationFolder + u"/x/o.cjs"_s;
    if (!QFileInfo(path).isFile())
        return;

    // The button face, with the text colour that goes with it.
    const QColor face = window.palette().color(QPalette::Active, QPalette::Button);
    const QColor faceText = window.palette().color(QPalette::Active, QPalette::ButtonText);
    auto paint = [&face, &faceText](QWidget *widget) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window, face);
        palette.setColor(QPalette::WindowText, faceText);
        widget->setPalette(palette);
        widget->setAutoFillBackground(true);
    };
    paint(&window);
    for (QWidget *child : window.findChildren<QWidget *>()) {
        if (qobject_cast<QRadioButton *>(child) || qobject_cast<QCheckBox *>(child)
            || qobject_cast<QGroupBox *>(child) || qobject_cast<QLabel *>(child))
            paint(child);
    }

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw core::Failure(
            u"Could not read the theme file '%1': %2"_s.arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString sheet = utf8(bytes);
    if (utf8.hasError())
        throw core::Failure(u"The theme file '%1' is not a text file."_s.arg(path));
    window.setStyleSheet(sheet);
}

} // namespace app
