// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/WindowSkin.h"

#include "app/ThemeUrls.h"
#include "core/Failure.h"
#include "core/RegularFile.h"

#include <QCheckBox>
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
    if (core::fileKindOf(path) != core::FileKind::Regular)
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

    QString error;
    const std::optional<QByteArray> bytes = core::readSmallFile(path, &error);
    if (!bytes)
        throw core::Failure(u"Could not read the theme file '%1': %2"_s.arg(path, error));
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString sheet = utf8(*bytes);
    if (utf8.hasError())
        throw core::Failure(u"The theme file '%1' is not a text file."_s.arg(path));
    window.setStyleSheet(withSafeUrls(sheet));
}

} // namespace app
