// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "QtSettingsStore.h"

#include <QSettings>

namespace platform {

namespace {

QString settingsKey(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

} // namespace

QString QtSettingsStore::read(const QString &application,
                              const QString &section,
                              const QString &key,
                              const QString &defaultValue) const
{
    const QSettings settings(QSettings::IniFormat, QSettings::UserScope, application);
    const QVariant value = settings.value(settingsKey(section, key));
    // A value written by hand as a list ("a, b") comes back as a string list;
    // join it again so the caller sees the text that is stored.
    if (!value.isValid())
        return defaultValue;
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1String(", "));
    return value.toString();
}

void QtSettingsStore::write(const QString &application,
                            const QString &section,
                            const QString &key,
                            const QString &value)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, application);
    settings.setValue(settingsKey(section, key), value);
    settings.sync();
}

} // namespace platform
