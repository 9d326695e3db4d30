// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tests/support/MemoryConnection.h"

#include "core/Failure.h"

using namespace Qt::Literals::StringLiterals;

namespace {

class MemoryRecordSet : public core::RecordSet
{
public:
    MemoryRecordSet(QList<std::optional<QString>> words, QList<int> offensive)
        : m_words(std::move(words))
        , m_offensive(std::move(offensive))
    {}
    core::ObjectState state() const override { return m_state; }
    bool eof() const override { return m_row >= m_words.size(); }
    int fieldCount() const override { return m_offensive.isEmpty() ? 3 : 4; }
    qsizetype recordCount() const override { return m_words.size(); }
    QString fieldName(int position) const override
    {
        if (position < 0 || position >= fieldCount())
            throw core::Failure(core::dberror::noSuchField());
        return QStringList{u"ID"_s, u"Category"_s, u"Word"_s, u"Offensive"_s}.at(position);
    }
    std::optional<QString> field(int position) const override
    {
        if (eof())
            throw core::Failure(core::dberror::noCurrentRecord());
        if (position < 0 || position >= fieldCount())
            throw core::Failure(core::dberror::noSuchField());
        if (position < 2)
            return QString::number(m_row + 1);
        if (position == 3)
            return QString::number(m_offensive.value(m_row));
        return m_words.at(m_row);
    }
    void moveNext() override
    {
        if (eof())
            throw core::Failure(core::dberror::noCurrentRecord());
        ++m_row;
    }
    void close() override { m_state = core::ObjectState::Closed; }

private:
    QList<std::optional<QString>> m_words;
    QList<int> m_offensive;
    qsizetype m_row = 0;
    core::ObjectState m_state = core::ObjectState::Open;
};

} // namespace

void MemoryConnection::open(const QString &connectionText)
{
    if (!openFailure.isEmpty())
        throw core::Failure(openFailure);
    openedWith = connectionText;
    m_state = core::ObjectState::Open;
}

void MemoryConnection::close()
{
    m_state = core::ObjectState::Closed;
}

std::unique_ptr<core::RecordSet> MemoryConnection::openRecordSet(const QString &query)
{
    if (m_state != core::ObjectState::Open)
        throw core::Failure(core::dberror::closedObject());
    if (core::tableOfQuery(query) != QLatin1String("words"))
        throw core::Failure(core::dberror::tableNotFound(core::tableOfQuery(query)));
    return std::make_unique<MemoryRecordSet>(words, offensive);
}
