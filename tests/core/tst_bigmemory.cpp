// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "core/BigMemory.h"

#include <QTest>

#include <algorithm>

class TestBigMemory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void faultingPagesInKeepsTheirBytes();
};

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
