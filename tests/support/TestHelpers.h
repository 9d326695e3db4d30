// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/ItemListModel.h"

#include <QByteArray>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QString>
#include <QStringList>

// Small helpers shared by the tests.
namespace testsupport {

// The own texts of every row of a list.
inline QStringList texts(const core::ItemListModel &list)
{
    QStringList result;
    for (int row = 0; row < list.rows(); ++row)
        result.append(list.text(row));
    return result;
}

// Replaces a list's rows with the given texts, all with the same mark.
inline void fill(core::ItemListModel &list, const QStringList &items, bool checked = false)
{
    list.clear();
    list.appendBatch(items, checked);
}

// Writes `bytes` to `path`, creating its folder, and returns the path. A
// test that cannot write its own files stops at once.
inline QString writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the test file %s", qPrintable(path));
    return path;
}

// Counts the events of one type that an object receives while it lives.
class EventCounter : public QObject
{
public:
    EventCounter(QObject *watched, QEvent::Type type)
        : m_type(type)
    {
        watched->installEventFilter(this);
    }
    int count() const { return m_count; }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == m_type)
            ++m_count;
        return false;
    }

private:
    QEvent::Type m_type;
    int m_count = 0;
};

} // namespace testsupport
