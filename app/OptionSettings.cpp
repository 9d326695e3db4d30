#include "OptionSettings.h"

#include "engine/Failure.h"
#include "engine/modPhone.h"
#include "platform/SettingsStore.h"

using namespace Qt::Literals::StringLiterals;

namespace app {

namespace {

const QString Application = u"Tarrowen"_s;
const QString Section = u"Digitome"_s;

QString defaultOf(const QString &key)
{
    for (const OptionSetting &setting : OptionSettingsTable)
        if (key == QStringView(setting.key))
            return QString::fromUtf16(setting.defaultValue);
    return {};
}

} // namespace

QString OptionSettings::read(const QString &key) const
{
    return m_store.read(Application, Section, key, defaultOf(key));
}

void OptionSettings::writeBoolean(const QString &key, bool value)
{
    m_store.write(Application, Section, key, value ? u"True"_s : u"False"_s);
}

void OptionSettings::writeCheck(const QString &key, bool checked)
{
    m_store.write(Application, Section, key, checked ? u"1"_s : u"0"_s);
}

bool OptionSettings::toBoolean(const QString &text)
{
    const QString word = text.trimmed();
    if (word.compare(u"True"_s, Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(u"False"_s, Qt::CaseInsensitive) == 0)
        return false;
    if (engine::modPhone::IsNumericText(text)) {
        QString number = word;
        number.replace(u'd', u'e').replace(u'D', u'e');
        return number.toDouble() != 0.0;
    }
    throw engine::Failure(u"Type mismatch"_s);
}

} // namespace app
