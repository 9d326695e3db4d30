// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QString>

class QMenu;

namespace app {

class OptionSettings;

// The language "Convert numbers into words" spells the digits in: English
// unless the user picks another in the submenu "Spell digits in" of the
// results list's context menu, where each language shows its own name. The
// choice is remembered in the settings store by its ISO 639-1 code.
class SpellLanguageChoice : public QObject
{
    Q_OBJECT

public:
    explicit SpellLanguageChoice(OptionSettings &settings, QObject *parent = nullptr);

    // Takes the stored language (English when there is none or it is unknown).
    void restore();
    // The ISO 639-1 code of the chosen language.
    QString code() const { return m_code; }
    void choose(const QString &code);

    // Adds the submenu "Spell digits in", the chosen language checked.
    void addMenu(QMenu &menu);

private:
    OptionSettings &m_settings;
    QString m_code;
};

} // namespace app
