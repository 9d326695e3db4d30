// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/OptionSettings.h"

#include "core/Failure.h"
#include "core/SettingsStore.h"
#include "engine/Keypad.h"

#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace app {

namespace {

const QString Application = u"Tarrowen"_s;
const QString Section = u"Digitome"_s;

// The value of a key that is not stored.
constexpr std::pair<Control, const char16_t *> Defaults[] = {
    {Control::MnemonicOption, u"1"},
    {Control::SpellOutOption, u"0"},
    {Control::WordsAndNumbersOption, u"0"},
    {Control::WordsOnlyOption, u"1"},
    {Control::IncludeOriginalCheck, u"0"},
};

// The keys of the choices that no control holds.
constexpr std::pair<OptionSettings::Choice, const char16_t *> ChoiceKeys[] = {
    {OptionSettings::Choice::ResultsOrder, u"ResultsOrder"},
    {OptionSettings::Choice::SpellLanguage, u"SpellLanguage"},
    {OptionSettings::Choice::HideOffensiveWords, u"HideOffensiveWords"},
};

QString keyOf(OptionSettings::Choice choice)
{
    for (const auto &[entry, key] : ChoiceKeys)
        if (entry == choice)
            return QString::fromUtf16(key);
    return {};
}

QString defaultOf(Control control)
{
    for (const auto &[entry, value] : Defaults)
        if (entry == control)
            return QString::fromUtf16(value);
    return {};
}

} // namespace

QString OptionSettings::read(Control control) const
{
    return m_store.read(Application, Section, objectNameOf(control), defaultOf(control));
}

void OptionSettings::writeBoolean(Control control, bool value)
{
    m_store.write(Application, Section, objectNameOf(control), value ? u"True"_s : u"False"_s);
}

void OptionSettings::writeCheck(Control control, bool checked)
{
    m_store.write(Application, Section, objectNameOf(control), checked ? u"1"_s : u"0"_s);
}

QString OptionSettings::read(Choice choice) const
{
    return m_store.read(Application, Section, keyOf(choice), QString());
}

void OptionSettings::write(Choice choice, const QString &value)
{
    m_store.write(Application, Section, keyOf(choice), value);
}

bool OptionSettings::toBoolean(const QString &text)
{
    const QString word = text.trimmed();
    if (word.compare(u"True"_s, Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(u"False"_s, Qt::CaseInsensitive) == 0)
        return false;
    if (engine::keypad::isNumericText(text)) {
        QString number = word;
        number.replace(u'd', u'e').replace(u'D', u'e');
        return number.toDouble() != 0.0;
    }
    throw core::Failure(u"Type mismatch"_s);
}

} // namespace app
