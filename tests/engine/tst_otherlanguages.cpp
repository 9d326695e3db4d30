// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/ConversionRun.h"
#include "engine/KeypadTables.h"
#include "engine/WordStore.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/FakeWindow.h"

#include <QHash>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

// Words of other languages' word lists (tests/data/languages), typed as
// their digits, come back with their own spelling, each letter upper-cased.
class TestOtherLanguages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wordIsFoundWithItsSpelling_data();
    void wordIsFoundWithItsSpelling();

private:
    const engine::WordStore &words(const QString &list);

    QHash<QString, std::shared_ptr<engine::WordStore>> m_lists;
};

const engine::WordStore &TestOtherLanguages::words(const QString &list)
{
    std::shared_ptr<engine::WordStore> &words = m_lists[list];
    if (!words) {
        words = std::make_shared<engine::WordStore>(enginetest::wordList(
            qEnvironmentVariable("DIGITOME_TESTDATA") + u"/languages/"_s + list));
    }
    return *words;
}

void TestOtherLanguages::wordIsFoundWithItsSpelling_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("line");
    QTest::newRow("German \u00fc") << u"german.txt"_s << u"685537"_s << u"M\u00dcLLER"_s;
    QTest::newRow("German \u00df") << u"german.txt"_s << u"787273"_s << u"STRA\u00dfE"_s;
    QTest::newRow("French \u00e9") << u"french.txt"_s << u"22337"_s << u"CAF\u00c9S"_s;
    QTest::newRow("French \u00e7") << u"french.txt"_s << u"427266"_s << u"GAR\u00c7ON"_s;
    QTest::newRow("Spanish \u00f1") << u"spanish.txt"_s << u"73667"_s << u"SE\u00d1OR"_s;
    QTest::newRow("Spanish \u00fc, a longer number")
        << u"spanish.txt"_s << u"746-484-66"_s << u"PING\u00dcINO"_s;
    QTest::newRow("Polish \u0142 \u017a \u00f3")
        << u"polish.txt"_s << u"976356"_s << u"\u0179R\u00d3D\u0141O"_s;
    QTest::newRow("Polish \u0105 \u017c")
        << u"polish.txt"_s << u"5742952"_s << u"KSI\u0104\u017bKA"_s;
    QTest::newRow("Bulgarian") << u"bulgarian.txt"_s << u"45422"_s
                               << u"\u041a\u041d\u0418\u0413\u0410"_s;
    QTest::newRow("Bulgarian \u044a")
        << u"bulgarian.txt"_s << u"928442"_s << u"\u042f\u0411\u042a\u041b\u041a\u0410"_s;
    QTest::newRow("Greek") << u"greek.txt"_s << u"52545372"_s
                           << u"\u039a\u0391\u039b\u0397\u039c\u0388\u03a1\u0391"_s;
    QTest::newRow("Greek final sigma")
        << u"greek.txt"_s << u"56267"_s << u"\u039b\u038c\u0393\u039f\u03a3"_s;
}

void TestOtherLanguages::wordIsFoundWithItsSpelling()
{
    QFETCH(QString, list);
    QFETCH(QString, number);
    QFETCH(QString, line);
    const engine::WordStore &store = words(list);
    QVERIFY2(store.size() > 50, qPrintable(list));
    QCOMPARE(store.unusableCount(), 0);

    QString keys;
    for (const QChar letter : line)
        keys += QChar(engine::keypad::keyOf(letter.unicode()));
    QCOMPARE(keys, engine::ConversionRun::normaliseNumber(number));

    FakeWindow host;
    host.setNumbers({number});
    host.setMnemonic(false, true);
    host.recordProgress = false;
    enginetest::runOnce(host, store, engine::ConversionRun::SearchMode::Fast);
    QVERIFY2(host.resultTexts().contains(line), qPrintable(host.resultTexts().join(u", ")));
    QVERIFY(host.reports().isEmpty());
}

QTEST_GUILESS_MAIN(TestOtherLanguages)
#include "tst_otherlanguages.moc"
