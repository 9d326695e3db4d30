// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/SettingsStore.h"

namespace platform {

// The settings store as a per-user INI file through QSettings: application =
// QSettings application name, section = INI group. Every write is synced at
// once, because closing the window ends the process without a shutdown.
// A settings file that is not a regular file, or is above 1 MB, reads as
// defaults and is never written; a write whose lock cannot be taken within
// LockWaitMs is given up.
class QtSettingsStore : public core::SettingsStore
{
public:
    static constexpr int LockWaitMs = 2000;

    QString read(const QString &application,
                 const QString &section,
                 const QString &key,
                 const QString &defaultValue) const override;
    void write(const QString &application,
               const QString &section,
               const QString &key,
               const QString &value) override;
};

} // namespace platform
