// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace core {

// A per-user store of text values addressed by application, section and key.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    // The stored text, or `defaultValue` when the key is absent.
    virtual QString read(const QString &application,
                         const QString &section,
                         const QString &key,
                         const QString &defaultValue) const = 0;
    // Creates or replaces the value and makes it durable at once.
    virtual void write(const QString &application,
                       const QString &section,
                       const QString &key,
                       const QString &value) = 0;
};

} // namespace core
