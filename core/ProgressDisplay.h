// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace core {

// The progress bar: a value from 0 to 100 and a caption text.
class ProgressDisplay
{
public:
    virtual ~ProgressDisplay() = default;
    virtual void setProgressValue(double value) = 0;
    virtual void setProgressText(const QString &text) = 0;

    // The caption "Generating words.. please wait.. " + count. A conversion
    // shows a new count before every yield; a display that draws less often
    // may keep the count and write the caption when it draws.
    virtual void showGeneratedCount(qint64 count) { setProgressText(generatingCaption(count)); }

    static QString generatingCaption(qint64 count)
    {
        return QStringLiteral("Generating words.. please wait.. ") + QString::number(count);
    }
};

} // namespace core
