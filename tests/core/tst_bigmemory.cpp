// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/BigMemory.h"

#include <QTest>

#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

class TestBigMemory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void regionsComeZeroedAndApart();
    void faultingPagesInKeepsTheirBytes();
};

// Regions in a row: each is aligned, zeroed, writable and apart from the
// others.
void TestBigMemory::regionsComeZeroedAndApart()
{
    constexpr int Regions = 12;
    std::vector<char *> regions;
    for (int i = 0; i < Regions; ++i) {
        auto *region = static_cast<char *>(core::regionMemory(core::HugePageBytes));
        QCOMPARE(reinterpret_cast<std::uintptr_t>(region) % core::HugePageBytes, 0u);
        QVERIFY(std::all_of(region, region + core::HugePageBytes, [](char c) {
            return c == 0;
        }));
        std::fill(region, region + core::HugePageBytes, char(i + 1));
        regions.push_back(region);
    }
    for (int i = 0; i < Regions; ++i) {
        QCOMPARE(regions[std::size_t(i)][0], char(i + 1));
        QCOMPARE(regions[std::size_t(i)][core::HugePageBytes - 1], char(i + 1));
        core::detail::FreeMemory{core::HugePageBytes}(regions[std::size_t(i)]);
    }
    QCOMPARE(std::set<char *>(regions.begin(), regions.end()).size(), std::size_t(Regions));
}

// Pages written, pages never written and a range that starts and ends inside
// pages: what they hold stays, and what was never written reads as zeros.
void TestBigMemory::faultingPagesInKeepsTheirBytes()
{
    constexpr std::size_t Bytes = 3 * core::HugePageBytes;
    constexpr std::size_t Written = 5000;
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

QTEST_GUILESS_MAIN(TestBigMemory)
#include "tst_bigmemory.moc"
