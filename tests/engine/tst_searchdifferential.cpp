// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/ConversionRun.h"
#include "engine/DictionaryKeypad.h"
#include "engine/MnemonicSearch.h"
#include "engine/WordStore.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/FakeWindow.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using Mode = engine::ConversionRun::SearchMode;

namespace {

#ifdef DIGITOME_SANITIZER_BUILD
constexpr int DefaultCases = 2500; // the sanitizers make the reference search slow
#else
constexpr int DefaultCases = 10000;
#endif

int caseCount()
{
    bool ok = false;
    const int fromEnvironment = qEnvironmentVariableIntValue("DIGITOME_DIFFERENTIAL_CASES", &ok);
    return ok && fromEnvironment > 0 ? fromEnvironment : DefaultCases;
}

QString describe(const QString &number, const FakeWindow &host)
{
    return u"number \"%1\", mixed %2, words only %3, original %4"_s.arg(number)
        .arg(host.options.keepMixedLines)
        .arg(host.options.keepWordsOnlyLines)
        .arg(host.options.appendOriginalNumber);
}

// Runs one case in both modes; false (with a message) when they differ.
bool sameInBothModes(const engine::WordStore &store,
                     const QStringList &numbers,
                     QRandomGenerator &random,
                     QString &difference)
{
    FakeWindow fast;
    FakeWindow reference;
    const int options = random.bounded(4);
    const bool withOriginal = random.bounded(2);
    for (FakeWindow *host : {&fast, &reference}) {
        host->setNumbers(numbers);
        host->setMnemonic(options & 1, options & 2);
        host->options.appendOriginalNumber = withOriginal;
        host->recordProgress = false;
    }
    qint64 fastCount = 0;
    qint64 referenceCount = 0;
    enginetest::runOnce(fast, store, Mode::Fast, &fastCount);
    enginetest::runOnce(reference, store, Mode::Reference, &referenceCount);
    if (fast.resultTexts() == reference.resultTexts() && fastCount == referenceCount
        && fast.reports() == reference.reports()) {
        return true;
    }
    difference = describe(numbers.join(u", "), fast) + u": "_s;
    if (fastCount != referenceCount)
        difference += u"count %1 against %2"_s.arg(fastCount).arg(referenceCount);
    else if (fast.reports() != reference.reports())
        difference += u"reports differ"_s;
    else {
        qsizetype i = 0;
        while (i < fast.resultTexts().size() && i < reference.resultTexts().size()
               && fast.resultTexts().at(i) == reference.resultTexts().at(i)) {
            ++i;
        }
        difference += u"line %1: \"%2\" against \"%3\" (%4 lines against %5)"_s.arg(i)
                          .arg(fast.resultTexts().value(i), reference.resultTexts().value(i))
                          .arg(fast.resultTexts().size())
                          .arg(reference.resultTexts().size());
    }
    return false;
}

// Every reading the search yields, its digit flag and its lines, and the
// count of enumeration steps, with the given limit on shared prefix cuts.
QStringList searchLines(const engine::WordStore &store,
                        const QString &number,
                        bool keepMixed,
                        bool keepWordsOnly,
                        std::size_t prefixCutLimit)
{
    const engine::DictionaryKeypad keypad(store);
    QStringList choices;
    for (const QChar c : number)
        choices.append(keypad.choicesOf(c));
    engine::MnemonicSearch search(store);
    search.setPrefixCutLimit(prefixCutLimit);
    search.start(choices, keepMixed, keepWordsOnly);
    QStringList lines;
    qint64 count = 0;
    while (search.next(count, [] {
        return true;
    })) {
        lines.append(search.combinationHasDigit() ? u"# digit"_s : u"# letters"_s);
        search.prepareCuts();
        while (search.nextCut())
            lines.append(search.line());
    }
    lines.append(u"# %1 steps"_s.arg(count));
    return lines;
}

} // namespace

class TestSearchDifferential : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void randomDictionaries();
    void americanEnglish();
    void prefixCutsMatchCuttingEachReading();

private:
    int m_cases = caseCount();
};

void TestSearchDifferential::randomDictionaries()
{
    QRandomGenerator random(20210831);
    const int cases = m_cases - m_cases * 3 / 10;
    engine::WordStore store;
    for (int i = 0; i < cases; ++i) {
        if (i % 25 == 0)
            store = enginetest::randomDictionary(random);
        const engine::DictionaryKeypad keypad(store);
        QStringList numbers = {enginetest::randomNumber(random, keypad, 3000)};
        if (random.bounded(10) == 0)
            numbers.append(enginetest::randomNumber(random, keypad, 500));
        QString difference;
        QVERIFY2(sameInBothModes(store, numbers, random, difference), qPrintable(difference));
    }
}

void TestSearchDifferential::americanEnglish()
{
    engine::WordStore store = enginetest::americanEnglish();
    if (store.isEmpty())
        QSKIP("/usr/share/dict/american-english is missing (Debian package wamerican)");
    for (const QString &word : enginetest::HandMadeWords) {
        if (!store.contains(word))
            store.add(word);
    }
    QRandomGenerator random(4343453);
    const int cases = m_cases * 3 / 10;
    const engine::DictionaryKeypad keypad(store);
    for (int i = 0; i < cases; ++i) {
        const QStringList numbers = {enginetest::randomNumber(random, keypad, 200)};
        QString difference;
        QVERIFY2(sameInBothModes(store, numbers, random, difference), qPrintable(difference));
    }
}

// Numbers too long for the reference search: the cuts shared by the readings
// of one prefix give the same lines as cutting each reading on its own, also
// when only some prefixes stay within the limit.
void TestSearchDifferential::prefixCutsMatchCuttingEachReading()
{
    QRandomGenerator random(7773453);
    static const QString characters = u"0111123456789  -..+E"_s;
    engine::WordStore store;
    engine::DictionaryKeypad keypad;
    const int cases = m_cases / 10;
    for (int i = 0; i < cases; ++i) {
        if (i % 25 == 0) {
            store = enginetest::randomDictionary(random);
            keypad = engine::DictionaryKeypad(store);
        }
        QString number;
        qint64 readings = 1;
        while (number.size() < 14 && readings < 20000) {
            const QChar c = characters.at(random.bounded(characters.size()));
            number += c;
            readings *= keypad.choicesOf(c).size();
        }
        const bool keepMixed = random.bounded(4) != 0;
        const bool keepWordsOnly = random.bounded(2) != 0;
        const QStringList cutOneByOne = searchLines(store, number, keepMixed, keepWordsOnly, 0);
        for (const std::size_t limit :
             {engine::MnemonicSearch::DefaultPrefixCutLimit, std::size_t(random.bounded(1, 40))}) {
            const QStringList shared = searchLines(store, number, keepMixed, keepWordsOnly, limit);
            if (shared != cutOneByOne) {
                qsizetype line = 0;
                while (shared.value(line) == cutOneByOne.value(line))
                    ++line;
                QFAIL(qPrintable(u"number \"%1\", mixed %2, words only %3, limit %4, line %5: "
                                 u"\"%6\" against \"%7\""_s.arg(number)
                                     .arg(keepMixed)
                                     .arg(keepWordsOnly)
                                     .arg(limit)
                                     .arg(line)
                                     .arg(shared.value(line), cutOneByOne.value(line))));
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestSearchDifferential)
#include "tst_searchdifferential.moc"
