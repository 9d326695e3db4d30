// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QProgressBar>

namespace app {

// The progress bar, which shows a caption of the program's instead of a
// percentage. Screen readers get the caption as the bar's text (and its value
// text), the position as its value, and a change event whenever the caption
// changes.
class ProgressCaptionBar : public QProgressBar
{
    Q_OBJECT

public:
    explicit ProgressCaptionBar(QWidget *parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);
    // Moves the bar, which is drawn with the rest of the window when it next
    // paints: setValue() paints the bar on the spot whenever the move shows.
    void setPosition(int value);

    // The caption, as it stands ("%" is no placeholder here).
    QString text() const override { return m_caption; }

private:
    QString m_caption;
};

} // namespace app
