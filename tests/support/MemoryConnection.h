// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/Database.h"

#include <QList>
#include <QStringList>

#include <optional>

// A dictionary connection over an in-memory `words` table whose third column
// holds the given values (nullopt = null), and, when `offensive` is not
// empty, a fourth column "Offensive" with its values. `openFailure`, when
// set, makes open() fail with that description.
class MemoryConnection : public core::Connection
{
public:
    QList<std::optional<QString>> words;
    QList<int> offensive;
    QString openFailure;
    QString openedWith;

    core::ObjectState state() const override { return m_state; }
    void open(const QString &connectionText) override;
    void close() override;
    std::unique_ptr<core::RecordSet> openRecordSet(const QString &query) override;

private:
    core::ObjectState m_state = core::ObjectState::Closed;
};
