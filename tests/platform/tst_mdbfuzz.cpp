// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// Damaged database files must give a Failure, never a crash or a hang. The
// mutants come from a fixed seed, so a failure can be replayed:
//   DIGITOME_FUZZ_MUTANTS  number of mutants (default 3000)
//   DIGITOME_FUZZ_FIRST    number of the first mutant (default 0), to replay one
//   DIGITOME_FUZZ_SEED     seed of mutant 0 (default 20210831)
//   DIGITOME_FUZZ_VERBOSE  set to keep libmdb's own messages on stderr

#include "core/Failure.h"
#include "platform/MdbDatabase.h"
#include "tests/support/FuzzRange.h"
#include "tests/support/JetFixtures.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <sys/resource.h>
#include <thread>

// A mutant that makes the reader allocate without bound must end this test,
// not exhaust the machine.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char *__asan_default_options()
{
    return "hard_rss_limit_mb=3072";
}
#endif

using namespace Qt::Literals::StringLiterals;

namespace {

struct Seed
{
    QString name;
    QByteArray bytes;
    QStringList tables;
    int pageSize = jet4::PageSize;
};

// Aborts the process when one mutant takes longer than `limit`.
class Watchdog
{
public:
    explicit Watchdog(std::chrono::seconds limit)
        : m_limit(limit)
        , m_thread([this] {
            watch();
        })
    {}
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
    void starting(int mutant, quint32 seed)
    {
        m_seed = seed;
        m_mutant = mutant;
    }

private:
    void watch()
    {
        std::unique_lock lock(m_mutex);
        int last = -1;
        auto since = std::chrono::steady_clock::now();
        while (!m_wake.wait_for(lock, std::chrono::milliseconds(200), [this] {
            return m_stop;
        })) {
            const auto now = std::chrono::steady_clock::now();
            if (m_mutant != last) {
                last = m_mutant;
                since = now;
            } else if (now - since > m_limit) {
                std::fprintf(stdout,
                             "HANG: mutant %d (seed %u) ran longer than %lld s\n",
                             last,
                             unsigned(m_seed),
                             static_cast<long long>(m_limit.count()));
                std::fflush(stdout);
                std::abort();
            }
        }
    }

    std::chrono::seconds m_limit;
    std::atomic<int> m_mutant{-1};
    std::atomic<quint32> m_seed{0};
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_thread;
};

// A random place to damage: most often in the first pages, where the header,
// the catalog and the table definitions lie.
qsizetype place(QRandomGenerator &rng, qsizetype size, int pageSize)
{
    const qsizetype front = std::min<qsizetype>(size, qsizetype(pageSize) * 8);
    return rng.bounded(2) ? rng.bounded(front) : qsizetype(rng.bounded(quint64(size)));
}

QByteArray mutate(const Seed &seed, QRandomGenerator &rng, QString *kind)
{
    QByteArray b = seed.bytes;
    const int page = seed.pageSize;
    const auto pages = b.size() / page;
    const int steps = 1 + int(rng.bounded(3));
    QStringList kinds;
    for (int s = 0; s < steps && !b.isEmpty(); ++s) {
        switch (rng.bounded(7)) {
        case 0: { // truncate, at a page boundary or anywhere
            const qsizetype at = rng.bounded(2) ? page * qsizetype(rng.bounded(quint64(pages)))
                                                : qsizetype(rng.bounded(quint64(b.size())));
            b.truncate(at);
            kinds << u"truncate"_s;
            break;
        }
        case 1: { // random bytes
            const int n = 1 + int(rng.bounded(32));
            for (int i = 0; i < n; ++i)
                b[place(rng, b.size(), page)] = char(rng.bounded(256));
            kinds << u"bytes"_s;
            break;
        }
        case 2: { // bit flips
            const int n = 1 + int(rng.bounded(16));
            for (int i = 0; i < n; ++i) {
                const qsizetype at = place(rng, b.size(), page);
                b[at] = char(b[at] ^ (1 << rng.bounded(8)));
            }
            kinds << u"bits"_s;
            break;
        }
        case 3: { // a zeroed page
            const qsizetype p = place(rng, b.size(), page) / page;
            b.replace(p * page,
                      std::min<qsizetype>(page, b.size() - p * page),
                      QByteArray(std::min<qsizetype>(page, b.size() - p * page), '\0'));
            kinds << u"zero page"_s;
            break;
        }
        case 4: { // one page copied over another
            const qsizetype from = qsizetype(rng.bounded(quint64(b.size() / page + 1))) * page;
            const qsizetype to = place(rng, b.size(), page) / page * page;
            const QByteArray copy = b.mid(from, page);
            b.replace(
                to, std::min<qsizetype>(copy.size(), b.size() - to), copy.left(b.size() - to));
            kinds << u"copy page"_s;
            break;
        }
        case 5: { // telling values in the 16- and 32-bit fields near a page start
            static const quint32 values[] = {
                0, 1, 0xFF, 0x100, 0x7FFF, 0x8000, 0xFFFF, 0x1FFF, 0x4000, 0xFFFFFFFF, 0x7FFFFFFF};
            const int n = 1 + int(rng.bounded(6));
            for (int i = 0; i < n; ++i) {
                const qsizetype p = place(rng, b.size(), page) / page;
                const qsizetype at = p * page + 2 * qsizetype(rng.bounded(48));
                quint32 v = values[rng.bounded(int(std::size(values)))];
                if (rng.bounded(4) == 0)
                    v = quint32(pages + rng.bounded(3) - 1) << (rng.bounded(2) ? 8 : 0);
                const int width = rng.bounded(2) ? 2 : 4;
                for (int k = 0; k < width && at + k < b.size(); ++k)
                    b[at + k] = char((v >> (8 * k)) & 0xFF);
            }
            kinds << u"fields"_s;
            break;
        }
        default: { // random pages appended
            QByteArray extra(page * (1 + int(rng.bounded(3))), '\0');
            for (char &c : extra)
                c = char(rng.bounded(256));
            b.append(extra);
            kinds << u"append"_s;
            break;
        }
        }
    }
    *kind = kinds.join(u'+');
    return b;
}

// Opens the mutant and reads every field of every table; true when all read.
bool readEverything(const QByteArray &bytes, const Seed &seed)
{
    platform::MdbConnection connection;
    bool complete = true;
    try {
        connection.openContents(bytes, u"/mutant.mdb"_s);
    } catch (const core::Failure &) {
        return false;
    }
    for (const QString &table : seed.tables) {
        try {
            const auto rs = connection.openRecordSet(u"select * from [%1]"_s.arg(table));
            while (!rs->eof()) {
                for (int c = 0; c < rs->fieldCount(); ++c)
                    (void)rs->field(c);
                rs->moveNext();
            }
            rs->close();
        } catch (const core::Failure &) {
            complete = false;
        }
    }
    return complete;
}

} // namespace

class TestMdbFuzz : public QObject
{
    Q_OBJECT

private:
    static constexpr int DictionaryShare = 50;
    QList<Seed> m_seeds;
    Seed m_dictionary;

private Q_SLOTS:
    void initTestCase();
    void seedsReadWhole();
    void damagedFilesFailCleanly();
};

void TestMdbFuzz::initTestCase()
{
    QList<std::optional<QString>> words;
    for (int i = 0; i < 3000; ++i)
        words.append(i % 97 == 5 ? std::nullopt : std::optional<QString>(u"wörd%1"_s.arg(i)));
    m_seeds.append({u"generated"_s,
                    fixtures::build({fixtures::wordsTable(words),
                                     fixtures::wordsTable({u"a"_s, u""_s}, u"small"_s)}),
                    {u"words"_s, u"small"_s}});

    // The shipped dictionary (read whole it costs ten times the others, so it
    // takes every DictionaryShare-th mutant), and the Access-made files.
    const QString dictionary = qEnvironmentVariable("DIGITOME_APP_DIR") + u"/dbWords.mdb"_s;
    m_dictionary = {u"dbWords.mdb"_s, fixtures::load(dictionary), {u"words"_s}};
    QVERIFY2(!m_dictionary.bytes.isEmpty(), qPrintable(dictionary));
    const QStringList fourTables{u"Table1"_s, u"Table2"_s, u"Table3"_s, u"Table4"_s};
    const std::pair<QString, QStringList> accessFiles[] = {
        {u"access2000-empty.mdb"_s, {}},
        {u"access2000-id-data.mdb"_s, {u"Table1"_s}},
        {u"access2000-types.mdb"_s, fourTables},
        {u"access2003-types.mdb"_s, fourTables},
        {u"access97-jet3-types.mdb"_s, fourTables},
    };
    const QDir dir(qEnvironmentVariable("DIGITOME_TESTDATA") + u"/jet4"_s);
    for (const auto &[file, tables] : accessFiles) {
        Seed seed{file, fixtures::load(dir.filePath(file)), tables};
        if (file.contains(u"jet3"_s))
            seed.pageSize = 2048;
        m_seeds.append(seed);
    }
    for (const Seed &seed : std::as_const(m_seeds))
        QVERIFY2(!seed.bytes.isEmpty(), qPrintable(seed.name));
}

void TestMdbFuzz::seedsReadWhole()
{
    for (const Seed &seed : std::as_const(m_seeds))
        QVERIFY2(readEverything(seed.bytes, seed), qPrintable(seed.name));
    QVERIFY(readEverything(m_dictionary.bytes, m_dictionary));
}

void TestMdbFuzz::damagedFilesFailCleanly()
{
    const auto [mutants, first, firstSeed] = FuzzRange::fromEnvironment(3000);

#if !defined(__SANITIZE_ADDRESS__)
    const rlimit memory{rlim_t(4) << 30, rlim_t(4) << 30};
    QCOMPARE(setrlimit(RLIMIT_AS, &memory), 0);
#endif

    // libmdb reports every oddity through stdio's stderr; keep that out of the
    // test log. The sanitizers write to file descriptor 2 directly and stay.
    FILE *const savedStderr = stderr;
    FILE *const quiet =
        qEnvironmentVariableIsSet("DIGITOME_FUZZ_VERBOSE") ? nullptr : std::fopen("/dev/null", "w");
    if (quiet)
        stderr = quiet;

    int complete = 0;
    QMap<QString, int> failedByKind;
    {
        Watchdog watchdog(std::chrono::seconds(60));
        for (int i = first; i < first + mutants; ++i) {
            const quint32 seedValue = firstSeed + quint32(i);
            const Seed &seed =
                i % DictionaryShare == 0 ? m_dictionary : m_seeds[i % m_seeds.size()];
            QRandomGenerator rng(seedValue);
            QString kind;
            const QByteArray mutant = mutate(seed, rng, &kind);
            watchdog.starting(i, seedValue);
            if (readEverything(mutant, seed))
                ++complete;
            else
                ++failedByKind[kind.section(u'+', 0, 0)];
        }
    }

    if (quiet) {
        stderr = savedStderr;
        std::fclose(quiet);
    }
    int failed = 0;
    for (int n : std::as_const(failedByKind))
        failed += n;
    qInfo("%d mutants of %lld files: %d read whole, %d failed cleanly; 0 crashes, 0 hangs",
          mutants,
          static_cast<long long>(m_seeds.size() + 1),
          complete,
          failed);
    QCOMPARE(complete + failed, mutants);
    // The mutations must really damage files, or this test proves nothing.
    QVERIFY(failed > mutants / 4);
}

QTEST_GUILESS_MAIN(TestMdbFuzz)
#include "tst_mdbfuzz.moc"
