#include "MemoryConnection.h"

#include "engine/Failure.h"

namespace {

class MemoryRecordSet : public engine::RecordSet
{
public:
    explicit MemoryRecordSet(QList<std::optional<QString>> words)
        : m_words(std::move(words))
    {}
    engine::ObjectState state() const override { return m_state; }
    bool eof() const override { return m_row >= m_words.size(); }
    int fieldCount() const override { return 3; }
    std::optional<QString> field(int position) const override
    {
        if (eof())
            throw engine::Failure(engine::dberror::noCurrentRecord());
        if (position < 0 || position > 2)
            throw engine::Failure(engine::dberror::noSuchField());
        if (position < 2)
            return QString::number(m_row + 1);
        return m_words.at(m_row);
    }
    void moveNext() override
    {
        if (eof())
            throw engine::Failure(engine::dberror::noCurrentRecord());
        ++m_row;
    }
    void close() override { m_state = engine::ObjectState::Closed; }

private:
    QList<std::optional<QString>> m_words;
    qsizetype m_row = 0;
    engine::ObjectState m_state = engine::ObjectState::Open;
};

} // namespace

void MemoryConnection::open(const QString &connectionText)
{
    if (!openFailure.isEmpty())
        throw engine::Failure(openFailure);
    openedWith = connectionText;
    m_state = engine::ObjectState::Open;
}

void MemoryConnection::close()
{
    m_state = engine::ObjectState::Closed;
}

std::unique_ptr<engine::RecordSet> MemoryConnection::openRecordSet(const QString &query)
{
    if (m_state != engine::ObjectState::Open)
        throw engine::Failure(engine::dberror::closedObject());
    if (engine::tableOfQuery(query) != QLatin1String("words"))
        throw engine::Failure(engine::dberror::tableNotFound(engine::tableOfQuery(query)));
    return std::make_unique<MemoryRecordSet>(words);
}
