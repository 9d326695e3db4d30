#pragma once

#include "engine/Database.h"

#include <QList>
#include <QStringList>

#include <optional>

// A dictionary connection over an in-memory `words` table whose third column
// holds the given values (nullopt = null). `openFailure`, when set, makes
// open() fail with that description.
class MemoryConnection : public engine::Connection
{
public:
    QList<std::optional<QString>> words;
    QString openFailure;
    QString openedWith;

    engine::ObjectState state() const override { return m_state; }
    void open(const QString &connectionText) override;
    void close() override;
    std::unique_ptr<engine::RecordSet> openRecordSet(const QString &query) override;

private:
    engine::ObjectState m_state = engine::ObjectState::Closed;
};
