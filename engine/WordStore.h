#pragma once

#include <QSet>
#include <QString>
#include <QStringView>

namespace engine {

// The dictionary words, each stored lower-cased by whoever adds it. Membership
// is an exact, case-sensitive comparison.
class WordStore
{
public:
    // Adds a word; a word already present is a Failure.
    void add(const QString &word);
    bool contains(QStringView word) const { return m_words.contains(word.toString()); }
    qsizetype size() const { return m_words.size(); }
    bool isEmpty() const { return m_words.isEmpty(); }
    const QSet<QString> &words() const { return m_words; }

private:
    QSet<QString> m_words;
};

} // namespace engine
