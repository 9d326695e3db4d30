// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "platform/SystemMemory.h"

#include <QTest>

#include <sys/resource.h>

using namespace Qt::Literals::StringLiterals;
using namespace platform::detail;

// The memory the program may still take: each source read from the text of
// its file, then the least of them.
class TestSystemMemory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void kilobyteFields_data();
    void kilobyteFields();
    void cgroups_data();
    void cgroups();
    void limits_data();
    void limits();
    void addressSpaceLimitCounts();
};

void TestSystemMemory::kilobyteFields_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<qint64>("memAvailable");
    const QByteArray meminfo = "MemTotal:       24683736 kB\nMemFree:        23390760 kB\n"
                               "MemAvailable:   24018508 kB\nBuffers:           12 kB\n";
    QTest::newRow("meminfo") << meminfo << qint64(24018508) * 1024;
    QTest::newRow("the last line, without a line end")
        << "MemFree: 5 kB\nMemAvailable: 7 kB"_ba << qint64(7 * 1024);
    QTest::newRow("a longer name that begins alike") << "MemAvailableX: 7 kB\n"_ba << qint64(-1);
    QTest::newRow("no such field") << "MemFree: 5 kB\n"_ba << qint64(-1);
    QTest::newRow("no unit") << "MemAvailable: 7\n"_ba << qint64(-1);
    QTest::newRow("not a number") << "MemAvailable: lots kB\n"_ba << qint64(-1);
    QTest::newRow("too large for bytes") << "MemAvailable: 99999999999999999 kB\n"_ba << qint64(-1);
    QTest::newRow("empty") << QByteArray() << qint64(-1);
}

void TestSystemMemory::kilobyteFields()
{
    QFETCH(QByteArray, contents);
    QFETCH(qint64, memAvailable);
    QCOMPARE(kilobyteField(contents, "MemAvailable"), memAvailable);
}

void TestSystemMemory::cgroups_data()
{
    QTest::addColumn<QByteArray>("procCgroup");
    QTest::addColumn<QString>("unified");
    QTest::addColumn<QString>("memory");
    QTest::newRow("unified only") << "0::/user.slice/user-1000.slice/session-2.scope\n"_ba
                                  << u"/user.slice/user-1000.slice/session-2.scope"_s << QString();
    QTest::newRow("hybrid") << "5:devices:/\n4:cpuacct,memory:/docker/ab\n0::/\n"_ba << u"/"_s
                            << u"/docker/ab"_s;
    QTest::newRow("a path with colons") << "0::/a:b\n"_ba << u"/a:b"_s << QString();
    QTest::newRow("none") << QByteArray() << QString() << QString();
}

void TestSystemMemory::cgroups()
{
    QFETCH(QByteArray, procCgroup);
    QFETCH(QString, unified);
    QFETCH(QString, memory);
    QCOMPARE(cgroupOf(procCgroup, true), unified);
    QCOMPARE(cgroupOf(procCgroup, false), memory);
}

void TestSystemMemory::limits_data()
{
    QTest::addColumn<QByteArray>("limit");
    QTest::addColumn<QByteArray>("use");
    QTest::addColumn<qint64>("mapped"); // against an address-space limit of 1000 bytes
    QTest::addColumn<qint64>("memAvailable");
    QTest::addColumn<qint64>("least");
    QTest::newRow("the cgroup leaves least")
        << "800\n"_ba
        << "300\n"_ba << qint64(100) << qint64(4000) << qint64(500);
    QTest::newRow("the address space leaves least")
        << "8000\n"_ba
        << "300\n"_ba << qint64(900) << qint64(4000) << qint64(100);
    QTest::newRow("the system has least") << "8000\n"_ba
                                          << "300\n"_ba << qint64(100) << qint64(40) << qint64(40);
    QTest::newRow("no cgroup limit") << "max\n"_ba
                                     << "300\n"_ba << qint64(100) << qint64(4000) << qint64(900);
    QTest::newRow("a cgroup used beyond its limit leaves nothing")
        << "800\n"_ba
        << "900\n"_ba << qint64(100) << qint64(4000) << qint64(0);
    QTest::newRow("mapped beyond the limit leaves nothing")
        << "max\n"_ba
        << "1\n"_ba << qint64(5000) << qint64(4000) << qint64(0);
    QTest::newRow("nothing known but the system")
        << QByteArray() << QByteArray() << qint64(-1) << qint64(4000) << qint64(4000);
    QTest::newRow("nothing known")
        << QByteArray() << QByteArray() << qint64(-1) << qint64(-1) << qint64(-1);
}

void TestSystemMemory::limits()
{
    QFETCH(QByteArray, limit);
    QFETCH(QByteArray, use);
    QFETCH(qint64, mapped);
    QFETCH(qint64, memAvailable);
    QFETCH(qint64, least);
    QCOMPARE(
        leastKnown(
            {memAvailable, addressSpaceLeft(false, 1000, mapped), cgroupMemoryLeft(limit, use)}),
        least);
    QCOMPARE(addressSpaceLeft(true, 1000, mapped), qint64(-1));
}

// The process's own address-space limit is seen by the real reading too.
void TestSystemMemory::addressSpaceLimitCounts()
{
    rlimit saved{};
    QCOMPARE(::getrlimit(RLIMIT_AS, &saved), 0);
    QFile status(u"/proc/self/status"_s);
    QVERIFY(status.open(QIODevice::ReadOnly));
    const qint64 mapped = kilobyteField(status.readAll(), "VmSize");
    QVERIFY(mapped > 0);
    constexpr qint64 Headroom = qint64(256) << 20;
    rlimit limited = saved;
    limited.rlim_cur = rlim_t(mapped + Headroom);
    if (saved.rlim_cur != RLIM_INFINITY && saved.rlim_cur < limited.rlim_cur)
        QSKIP("the address space is limited more already");
    QCOMPARE(::setrlimit(RLIMIT_AS, &limited), 0);
    const qint64 available = platform::availableMemory();
    QCOMPARE(::setrlimit(RLIMIT_AS, &saved), 0);
    // The mapping moves a little between the two readings.
    QVERIFY2(available >= 0 && available <= Headroom + (qint64(16) << 20),
             qPrintable(QString::number(available)));
}

QTEST_GUILESS_MAIN(TestSystemMemory)
#include "tst_systemmemory.moc"
