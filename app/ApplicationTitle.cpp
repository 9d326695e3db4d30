// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/ApplicationTitle.h"

namespace app {

QString applicationTitleOf(const QString &productTitle)
{
    QString title = productTitle;
    do {
        const qsizetype blank = title.lastIndexOf(QLatin1Char(' '));
        if (blank < 0)
            break; // a single word has nothing to drop: use it whole
        title.truncate(blank);
    } while (title.size() > 40);
    return title;
}

} // namespace app
