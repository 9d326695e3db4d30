// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/BigMemory.h"

#include <QTest>

#include <algorithm>
#include <cstdint>
#include <vector>

class TestBigMemory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void faultingPagesInKeepsTheirBytes();
    void freedRegionsServeTheNextOnes_data();
    void freedRegionsServeTheNextOnes();
};

// Pages written, pages never written and a range that starts and ends inside
// pages: what they hold stays, and what was never written reads as zeros.
void TestBigMemory::faultingPagesInKeepsTheirBytes()
{
    constexpr std::size_t Bytes = 3 * core::HugePageBytes;
    constexpr std::size_t Written = 5000;
    core::releaseSpareMemory(); // fresh memory, which reads as zeros
    auto *region = static_cast<char *>(core::regionMemory(Bytes));
    std::fill(region, region + Written, char(7));
    core::faultInPages(region + 3, Bytes - 4000);
    core::faultInPages(region, 0);
    QVERIFY(std::all_of(region, region + Written, [](char c) {
        return c == 7;
    }));
    QVERIFY(std::all_of(region + Written, region + Bytes, [](char c) {
        return c == 0;
    }));
    core::detail::FreeMemory{Bytes}(region);
}

using Pages = QList<std::size_t>; // sizes in huge pages

void TestBigMemory::freedRegionsServeTheNextOnes_data()
{
    QTest::addColumn<Pages>("freed");
    QTest::addColumn<std::size_t>("asked");
    QTest::addColumn<std::size_t>("spareAfter"); // huge pages kept once it is made

    constexpr std::size_t Half = core::detail::SpareMemoryLimit / core::HugePageBytes / 2;
    QTest::newRow("none kept") << Pages{} << std::size_t(2) << std::size_t(0);
    QTest::newRow("one of the same size") << Pages{3} << std::size_t(3) << std::size_t(0);
    QTest::newRow("part of a larger one") << Pages{5} << std::size_t(2) << std::size_t(3);
    QTest::newRow("several, then fresh memory")
        << Pages{1, 3, 2} << std::size_t(9) << std::size_t(0);
    QTest::newRow("beyond the most kept") << Pages{Half, Half, 1} << Half << Half;
}

// Regions freed are kept, up to a limit, and a region asked for next is made
// of them before fresh memory: it is aligned, and every byte of it holds what
// is written there.
void TestBigMemory::freedRegionsServeTheNextOnes()
{
    QFETCH(Pages, freed);
    QFETCH(std::size_t, asked);
    QFETCH(std::size_t, spareAfter);
    constexpr std::size_t Page = core::HugePageBytes;
    core::releaseSpareMemory();
    std::vector<void *> regions;
    for (const std::size_t pages : freed)
        regions.push_back(core::regionMemory(pages * Page));
    for (std::size_t i = 0; i < regions.size(); ++i)
        core::detail::FreeMemory{freed[qsizetype(i)] * Page}(regions[i]);

    auto *region = static_cast<unsigned char *>(core::regionMemory(asked * Page));
    QCOMPARE(reinterpret_cast<std::uintptr_t>(region) % Page, std::uintptr_t(0));
    QCOMPARE(core::detail::spareMemoryBytes(), spareAfter * Page);
    for (std::size_t i = 0; i < asked * Page; i += 4096)
        region[i] = static_cast<unsigned char>(i / 4096);
    for (std::size_t i = 0; i < asked * Page; i += 4096)
        QCOMPARE(region[i], static_cast<unsigned char>(i / 4096));
    core::detail::FreeMemory{asked * Page}(region);
    QCOMPARE(core::detail::spareMemoryBytes(), (spareAfter + asked) * Page);
    core::releaseSpareMemory();
    QCOMPARE(core::detail::spareMemoryBytes(), std::size_t(0));
}

QTEST_GUILESS_MAIN(TestBigMemory)
#include "tst_bigmemory.moc"
