// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QProgressBar>

namespace app {

// The progress bar, whose caption (not its number) is what screen readers
// hear as its value.
class ProgressCaptionBar : public QProgressBar
{
    Q_OBJECT

public:
    explicit ProgressCaptionBar(QWidget *parent = nullptr);

    // The caption as shown ("%" stands for itself).
    QString caption() const;
    void setCaption(const QString &caption);
};

} // namespace app
