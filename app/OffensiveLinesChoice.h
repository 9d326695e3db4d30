// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>

class QMenu;

namespace core {
class Dialogs;
class ItemListModel;
} // namespace core

namespace engine {
class WordStore;
}

namespace app {

class OptionSettings;

// "Hide offensive words" in the results list's context menu: while it is
// ticked, the results list does not show the lines holding a word the
// dictionary rates offensive (1 or 2), so they are neither saved, copied,
// exported nor counted; lines arriving are hidden too. Unticked, they show
// again in their places with their check marks. Off unless the settings
// store says "True".
class OffensiveLinesChoice : public QObject
{
    Q_OBJECT

public:
    OffensiveLinesChoice(OptionSettings &settings,
                         core::ItemListModel &results,
                         const engine::WordStore &words,
                         core::Dialogs &dialogs,
                         QObject *parent = nullptr);

    void restore();
    bool isHiding() const { return m_hiding; }
    void setHiding(bool hiding);

    // Adds the checkable entry.
    void addMenuEntry(QMenu &menu);

private:
    // Shows or hides; false when the memory for it is lacking.
    bool apply(bool hiding);

    OptionSettings &m_settings;
    core::ItemListModel &m_results;
    const engine::WordStore &m_words;
    core::Dialogs &m_dialogs;
    bool m_hiding = false;
};

} // namespace app
