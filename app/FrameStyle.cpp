// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/FrameStyle.h"

#include <QGroupBox>
#include <QPainter>
#include <QStyleOption>

namespace app {

void FrameStyle::drawPrimitive(PrimitiveElement element,
                               const QStyleOption *option,
                               QPainter *painter,
                               const QWidget *widget) const
{
    if (element != PE_FrameGroupBox) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // Below the title, where the desktop's style would begin its panel.
    int top = 0;
    const auto *frame = qobject_cast<const QGroupBox *>(widget);
    if (frame && !frame->title().isEmpty())
        top = qMax(proxy()->pixelMetric(PM_ExclusiveIndicatorHeight, option, widget),
                   option->fontMetrics.height())
              + 3;
    painter->save();
    painter->setPen(QColor(0xc0, 0xc0, 0xc0));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(option->rect.adjusted(0, top, -1, -1));
    painter->restore();
}

} // namespace app
