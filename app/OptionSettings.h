// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "app/ControlTable.h"

#include <QString>

namespace core {
class SettingsStore;
}

namespace app {

// The remembered options: one key per control, named after the control's
// objectName, in application "Tarrowen", section "Digitome". Option buttons
// are stored as "True"/"False", the check box as "1"/"0". The choices that
// no control holds have keys of their own.
class OptionSettings
{
public:
    enum class Choice {
        ResultsOrder,       // "ResultsOrder": the caption of the order shown
        SpellLanguage,      // "SpellLanguage": the ISO 639-1 code of the spelled-out digits
        HideOffensiveWords, // "HideOffensiveWords": "True" while lines with offensive words are
                            // hidden
    };

    explicit OptionSettings(core::SettingsStore &store)
        : m_store(store)
    {}

    // The stored text of a control's key, or its default.
    QString read(Control control) const;
    void writeBoolean(Control control, bool value);
    void writeCheck(Control control, bool checked);
    // A choice's stored text; the empty text when it is absent.
    QString read(Choice choice) const;
    void write(Choice choice, const QString &value);

    // A stored text as a Boolean: "True"/"False" (any case, outer blanks
    // ignored) or a number (0 is false, any other value true). Anything else
    // is a "Type mismatch" failure.
    static bool toBoolean(const QString &text);

private:
    core::SettingsStore &m_store;
};

} // namespace app
