// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/ProgressCaptionBar.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace app {

namespace {

class CaptionAccessible : public QAccessibleWidget
{
public:
    explicit CaptionAccessible(ProgressCaptionBar *bar)
        : QAccessibleWidget(bar, QAccessible::ProgressBar)
    {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return static_cast<const ProgressCaptionBar *>(widget())->caption();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface *captionAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(ProgressCaptionBar::staticMetaObject.className()))
        return new CaptionAccessible(static_cast<ProgressCaptionBar *>(object));
    return nullptr;
}

} // namespace

ProgressCaptionBar::ProgressCaptionBar(QWidget *parent)
    : QProgressBar(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(&captionAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

void ProgressCaptionBar::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    update();
    QAccessibleValueChangeEvent changed(this, caption);
    QAccessible::updateAccessibility(&changed);
}

} // namespace app
