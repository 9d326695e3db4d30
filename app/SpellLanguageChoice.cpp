// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/SpellLanguageChoice.h"

#include "app/OptionSettings.h"
#include "engine/DigitNames.h"

#include <QActionGroup>
#include <QMenu>

using namespace Qt::Literals::StringLiterals;

namespace app {

SpellLanguageChoice::SpellLanguageChoice(OptionSettings &settings, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_code(engine::spellLanguages().front().code.toString())
{}

void SpellLanguageChoice::restore()
{
    m_code = engine::spellLanguageOrEnglish(m_settings.read(OptionSettings::Choice::SpellLanguage))
                 .code.toString();
}

void SpellLanguageChoice::choose(const QString &code)
{
    m_code = engine::spellLanguageOrEnglish(code).code.toString();
    m_settings.write(OptionSettings::Choice::SpellLanguage, m_code);
}

void SpellLanguageChoice::addMenu(QMenu &menu)
{
    QMenu *languages = menu.addMenu(u"Spell digits in"_s);
    auto *group = new QActionGroup(languages);
    for (const engine::SpellLanguage &language : engine::spellLanguages()) {
        QAction *action = languages->addAction(language.name.toString());
        action->setCheckable(true);
        action->setChecked(language.code == m_code);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, code = language.code.toString()] {
            choose(code);
        });
    }
}

} // namespace app
