// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "platform/QtSettingsStore.h"

#include "core/RegularFile.h"

#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>

namespace platform {

namespace {

QString settingsKey(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

// The per-user INI file QSettings uses for `application`, found without
// letting QSettings open it.
QString settingsPath(const QString &application)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QLatin1Char('/') + application + QLatin1String(".ini");
}

// Whether the file at `path` may be handed to QSettings: absent (a link to
// nothing is written through, the link staying a link), or a regular file
// (links followed) of at most 1 MB. A pipe would block the open forever, a
// huge file would be parsed at every read and write, and a loop of links
// would be replaced by a plain file.
bool isUsable(const QString &path)
{
    switch (core::fileKindOf(path)) {
    case core::FileKind::Missing:
    case core::FileKind::DanglingLink:
        return true;
    case core::FileKind::Regular:
        return QFileInfo(path).size() <= core::SmallFileLimit;
    default:
        return false;
    }
}

} // namespace

QString QtSettingsStore::read(const QString &application,
                              const QString &section,
                              const QString &key,
                              const QString &defaultValue) const
{
    // A file that is not usable reads like an unreadable one: defaults.
    if (!isUsable(settingsPath(application)))
        return defaultValue;
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
    // Writes stay silent; one that cannot be made safely is given up: a
    // target that is no regular file (or too large to parse) is never
    // replaced, and a lock that cannot be taken within the wait (held by a
    // live process, or a folder or pipe in its place, which would make
    // QSettings wait forever) leaves the file as it is.
    const QString path = settingsPath(application);
    const QString lockPath = path + QLatin1String(".lock");
    if (!isUsable(path) || !isUsable(lockPath))
        return;
    // A new account has no config folder yet; the lock needs one. Folders
    // made here are private to the user, as QSettings would make them.
    const QString folder = QFileInfo(path).absolutePath();
    if (!core::makePrivateFolders(folder))
        return;
    {
        QLockFile lock(lockPath);
        if (!lock.tryLock(LockWaitMs))
            return;
    }
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, application);
    settings.setValue(settingsKey(section, key), value);
    settings.sync();
}

} // namespace platform
