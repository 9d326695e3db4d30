// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/CheckMarkStyle.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>

#include <algorithm>

namespace app {

namespace {

// `share` of `colour` over `behind`.
QColor mixed(const QColor &colour, const QColor &behind, double share)
{
    return QColor::fromRgbF(float(colour.redF() * share + behind.redF() * (1 - share)),
                            float(colour.greenF() * share + behind.greenF() * (1 - share)),
                            float(colour.blueF() * share + behind.blueF() * (1 - share)));
}

struct MarkColours
{
    QColor outline;
    QColor fill;
    QColor mark;
};

// The text colour draws the mark; the outline is most of the way from the
// box's fill to the text colour (7 to 1 for black on white), the highlight
// while the pointer is over it; a pressed box is filled a little darker.
MarkColours coloursOf(const QStyleOption &option)
{
    const QPalette &palette = option.palette;
    const QColor text = palette.color(QPalette::Text);
    const QColor base = palette.color(QPalette::Base);
    MarkColours colours{mixed(text, base, 0.65), base, text};
    const bool enabled = option.state.testFlag(QStyle::State_Enabled);
    if (enabled && option.state.testFlag(QStyle::State_MouseOver))
        colours.outline = palette.color(QPalette::Highlight);
    if (enabled && option.state.testFlag(QStyle::State_Sunken))
        colours.fill = mixed(text, base, 0.15);
    return colours;
}

void drawCheckBox(const QStyleOption &option, QPainter &painter)
{
    const MarkColours colours = coloursOf(option);
    const QRectF box = QRectF(option.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(colours.outline, 1));
    painter.setBrush(colours.fill);
    painter.drawRect(box);
    const qreal size = std::min(box.width(), box.height());
    QPen pen(colours.mark, std::max(1.5, size / 7), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QPointF centre = box.center();
    if (option.state.testFlag(QStyle::State_On)) {
        QPainterPath tick;
        tick.moveTo(centre + QPointF(-0.3 * size, 0));
        tick.lineTo(centre + QPointF(-0.1 * size, 0.22 * size));
        tick.lineTo(centre + QPointF(0.3 * size, -0.22 * size));
        painter.drawPath(tick);
    } else if (option.state.testFlag(QStyle::State_NoChange)) {
        painter.drawLine(centre + QPointF(-0.25 * size, 0), centre + QPointF(0.25 * size, 0));
    }
}

void drawOptionMark(const QStyleOption &option, QPainter &painter)
{
    const MarkColours colours = coloursOf(option);
    const QRectF area = QRectF(option.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal size = std::min(area.width(), area.height());
    const QRectF circle(area.center() - QPointF(size / 2, size / 2), QSizeF(size, size));
    painter.setPen(QPen(colours.outline, 1));
    painter.setBrush(colours.fill);
    painter.drawEllipse(circle);
    if (option.state.testFlag(QStyle::State_On)) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colours.mark);
        painter.drawEllipse(circle.center(), size * 0.25, size * 0.25);
    }
}

} // namespace

void CheckMarkStyle::drawPrimitive(PrimitiveElement element,
                                   const QStyleOption *option,
                                   QPainter *painter,
                                   const QWidget *widget) const
{
    if (element != PE_IndicatorCheckBox && element != PE_IndicatorItemViewItemCheck
        && element != PE_IndicatorRadioButton) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (element == PE_IndicatorRadioButton)
        drawOptionMark(*option, *painter);
    else
        drawCheckBox(*option, *painter);
    painter->restore();
}

} // namespace app
