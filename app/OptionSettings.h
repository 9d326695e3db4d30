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
// are stored as "True"/"False", the check box as "1"/"0".
class OptionSettings
{
public:
    explicit OptionSettings(core::SettingsStore &store)
        : m_store(store)
    {}

    // The stored text of a control's key, or its default.
    QString read(Control control) const;
    void writeBoolean(Control control, bool value);
    void writeCheck(Control control, bool checked);
    // Any other key of the section; the empty text when it is absent.
    QString readText(const QString &key) const;
    void writeText(const QString &key, const QString &value);

    // A stored text as a Boolean: "True"/"False" (any case, outer blanks
    // ignored) or a number (0 is false, any other value true). Anything else
    // is a "Type mismatch" failure.
    static bool toBoolean(const QString &text);

private:
    core::SettingsStore &m_store;
};

} // namespace app
