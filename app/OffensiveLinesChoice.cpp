// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/OffensiveLinesChoice.h"

#include "app/OptionSettings.h"
#include "core/Dialogs.h"
#include "core/Failure.h"
#include "core/ItemListModel.h"
#include "engine/LineWords.h"

#include <QMenu>

#include <new>

using namespace Qt::Literals::StringLiterals;

namespace app {

OffensiveLinesChoice::OffensiveLinesChoice(OptionSettings &settings,
                                           core::ItemListModel &results,
                                           const engine::WordStore &words,
                                           core::Dialogs &dialogs,
                                           QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_results(results)
    , m_words(words)
    , m_dialogs(dialogs)
{
    // A long list chooses its lines on a worker; without memory for it the
    // list keeps the lines it shows.
    connect(&results, &core::ItemListModel::shownLinesFailed, this, [this] {
        m_hiding = !m_hiding;
        m_settings.write(OptionSettings::Choice::HideOffensiveWords,
                         m_hiding ? u"True"_s : u"False"_s);
        m_dialogs.message(u"There is not enough memory to show the results this way."_s);
    });
}

void OffensiveLinesChoice::restore()
{
    bool hiding = false;
    try {
        hiding =
            OptionSettings::toBoolean(m_settings.read(OptionSettings::Choice::HideOffensiveWords));
    } catch (const core::Failure &) {
        // Absent or not a Boolean: off.
    }
    apply(hiding);
}

void OffensiveLinesChoice::setHiding(bool hiding)
{
    if (hiding == m_hiding || !apply(hiding))
        return;
    m_settings.write(OptionSettings::Choice::HideOffensiveWords, hiding ? u"True"_s : u"False"_s);
}

bool OffensiveLinesChoice::apply(bool hiding)
{
    core::ItemListModel::LineTest shown;
    if (hiding)
        shown = [&words = m_words](QStringView line) {
            return engine::offensiveRatingOf(words, line) == 0;
        };
    // Going through a long list needs memory; without it the list stays.
    try {
        m_results.setShownLines(std::move(shown));
    } catch (const std::bad_alloc &) {
        m_dialogs.message(u"There is not enough memory to show the results this way."_s);
        return false;
    }
    m_hiding = hiding;
    return true;
}

void OffensiveLinesChoice::addMenuEntry(QMenu &menu)
{
    QAction *action = menu.addAction(u"Hide offensive words"_s);
    action->setCheckable(true);
    action->setChecked(m_hiding);
    connect(action, &QAction::toggled, this, &OffensiveLinesChoice::setHiding);
}

} // namespace app
