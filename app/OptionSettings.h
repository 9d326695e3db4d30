#pragma once

#include <QString>

#include <array>

namespace platform {
class SettingsStore;
}

namespace app {

// The remembered options: one key per control, in application "Tarrowen",
// section "Digitome". Option buttons are stored as "True"/"False", the check
// box as "1"/"0".
struct OptionSetting
{
    const char16_t *key;
    const char16_t *defaultValue;
};

inline constexpr std::array<OptionSetting, 5> OptionSettingsTable{{
    {u"Option1", u"1"},
    {u"Option2", u"0"},
    {u"Option3", u"0"},
    {u"Option4", u"1"},
    {u"Check1", u"0"},
}};

class OptionSettings
{
public:
    explicit OptionSettings(platform::SettingsStore &store)
        : m_store(store)
    {}

    // The stored text of a key, or its default.
    QString read(const QString &key) const;
    void writeBoolean(const QString &key, bool value);
    void writeCheck(const QString &key, bool checked);

    // A stored text as a Boolean: "True"/"False" (any case, outer blanks
    // ignored) or a number (0 is false, any other value true). Anything else
    // is a "Type mismatch" failure.
    static bool toBoolean(const QString &text);

private:
    platform::SettingsStore &m_store;
};

} // namespace app
