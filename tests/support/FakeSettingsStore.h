// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/SettingsStore.h"

#include <QMap>
#include <QStringList>

// Keeps values in memory under "application/section/key".
class FakeSettingsStore : public core::SettingsStore
{
public:
    QMap<QString, QString> values;
    QStringList writes; // "key=value" in the order written

    static QString path(const QString &application, const QString &section, const QString &key)
    {
        return application + QLatin1Char('/') + section + QLatin1Char('/') + key;
    }
    QString read(const QString &application,
                 const QString &section,
                 const QString &key,
                 const QString &defaultValue) const override
    {
        return values.value(path(application, section, key), defaultValue);
    }
    void write(const QString &application,
               const QString &section,
               const QString &key,
               const QString &value) override
    {
        values.insert(path(application, section, key), value);
        writes.append(key + QLatin1Char('=') + value);
    }
    // A value of this program's section.
    QString digitome(const QString &key) const
    {
        return values.value(path(QStringLiteral("Tarrowen"), QStringLiteral("Digitome"), key));
    }
    void setDigitome(const QString &key, const QString &value)
    {
        values.insert(path(QStringLiteral("Tarrowen"), QStringLiteral("Digitome"), key), value);
    }
};
