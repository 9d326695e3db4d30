// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QProxyStyle>

namespace app {

// The desktop's style, but the boxes of check boxes and list rows and the
// circles of option buttons are drawn with an outline and a mark that stand
// out from what is behind them (at least 3 to 1 on the window's white): many
// styles draw them in a light grey that is hard to see.
class CheckMarkStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element,
                       const QStyleOption *option,
                       QPainter *painter,
                       const QWidget *widget = nullptr) const override;
};

} // namespace app
