// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/ConversionRun.h"
#include "engine/DictionaryKeypad.h"
#include "engine/MnemonicSearch.h"
#include "engine/WordStore.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/FakeWindow.h"

#include <QRandomGenerator>
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

// Words that no random dictionary would hold: capitals (never matched, since
// pieces are lower-cased), digits, blanks, letters beyond A-Z, short words,
// and a few unusable ones (not kept).
const QStringList HandMadeWords =
    QStringList{u"If"_s,      u"FILE"_s,   u"a"_s,   u"i"_s,   u"be"_s,  u"go"_s, u"4u"_s,
                u"b4"_s,      u"3d"_s,     u"2b"_s,  u"a b"_s, u"i f"_s, u" a"_s, u"\u00e9"_s,
                u"d\u00e9"_s, u"\u00fc"_s, u"ad"_s,  u"e3"_s,  u"1.5"_s, u"+a"_s, u"a.b"_s,
                u"(a)"_s,     u"ab-c"_s,   u"cab"_s, u"bad"_s}
    + QStringList{u"\u00dfa"_s, u"\u03c3\u03c2"_s, u"\u00c9t\u00e9"_s, u"\u05d0"_s, u"a\u20ac"_s};

// A number of 2 to 9 characters: mostly digits, now and then a typed letter
// in either case (A-Z or beyond), a blank, a dot, a plus sign, a parenthesis
// or a hyphen; kept to at most `maxReadings` readings of `keypad` so the
// reference search stays quick.
QString
randomNumber(QRandomGenerator &random, const engine::DictionaryKeypad &keypad, qint64 maxReadings)
{
    static const QString others = u"aAbBdDeEgGxXzZ  ..++()--\u00e9\u00c9\u0416\u0436\u03c2\u03a3"_s;
    for (;;) {
        const int length = random.bounded(2, 10);
        QString number;
        qint64 readings = 1;
        for (int i = 0; i < length; ++i) {
            QChar c;
            if (random.bounded(6) == 0)
                c = others.at(random.bounded(others.size()));
            else
                c = QChar(char16_t(u'0' + random.bounded(10)));
            number += c;
            readings *= keypad.choicesOf(c).size();
        }
        if (readings <= maxReadings)
            return number;
    }
}

engine::WordStore randomDictionary(QRandomGenerator &random)
{
    engine::WordStore store;
    // Letters of few keys make words that readings actually contain; some
    // dictionaries have letters beyond A-Z on those keys.
    static const QString letterSets[] = {
        u"adgjmptwbehknqux"_s,
        u"abcdefghijklmnopqrstuvwxyz"_s,
        u"adgjmptw\u00e4\u00e9\u00f1\u00f6\u00fc\u00df\u0142\u0436\u0438\u043a\u03c3\u03c2\u03ac"_s};
    const QString &letters = letterSets[random.bounded(3)];
    const int count = random.bounded(5, 120);
    for (int i = 0; i < count; ++i) {
        QString word;
        const int length = random.bounded(1, 6);
        for (int j = 0; j < length; ++j)
            word += letters.at(random.bounded(letters.size()));
        if (!store.contains(word))
            store.add(word);
    }
    for (const QString &word : HandMadeWords) {
        if (random.bounded(3) == 0 && !store.contains(word))
            store.add(word);
    }
    return store;
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
            store = randomDictionary(random);
        const engine::DictionaryKeypad keypad(store);
        QStringList numbers = {randomNumber(random, keypad, 3000)};
        if (random.bounded(10) == 0)
            numbers.append(randomNumber(random, keypad, 500));
        QString difference;
        QVERIFY2(sameInBothModes(store, numbers, random, difference), qPrintable(difference));
    }
}

void TestSearchDifferential::americanEnglish()
{
    engine::WordStore store = enginetest::americanEnglish();
    if (store.isEmpty())
        QSKIP("/usr/share/dict/american-english is missing (Debian package wamerican)");
    for (const QString &word : HandMadeWords) {
        if (!store.contains(word))
            store.add(word);
    }
    QRandomGenerator random(4343453);
    const int cases = m_cases * 3 / 10;
    const engine::DictionaryKeypad keypad(store);
    for (int i = 0; i < cases; ++i) {
        const QStringList numbers = {randomNumber(random, keypad, 200)};
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
            store = randomDictionary(random);
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
