// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "platform/OpenJetFile.h"

#include "core/Failure.h"
#include "platform/MappedFile.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstring>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#include <unistd.h>
#endif

using namespace Qt::Literals::StringLiterals;

namespace platform {

QString damagedDatabase(const QString &path, const QString &what)
{
    return u"The database '%1' is damaged: %2."_s.arg(QDir::toNativeSeparators(path), what);
}

OpenJetFile::OpenJetFile() = default;

OpenJetFile::~OpenJetFile()
{
    if (mdb)
        mdb_close(mdb);
}

void OpenJetFile::loadPage(quint32 page)
{
    // The page is copied straight from the file's bytes when libmdb would
    // read them as they are (no encryption key); else libmdb reads it.
    const qint64 size = mdb->fmt->pg_size;
    const qint64 at = qint64(page) * size;
    loadedPage = NoPage;
    if (mdb->f->db_key == 0 && size <= MDB_PGSIZE && at + size <= contents.size()) {
        std::memcpy(mdb->pg_buf, contents.constData() + at, size_t(size));
        mdb->cur_pg = page;
        mdb->cur_pos = 0;
    } else {
        mdb->cur_pg = 0; // libmdb skips reading the page it read last
        if (mdb_read_pg(mdb, page) != size)
            throw core::Failure(damagedDatabase(path, u"page %1 cannot be read"_s.arg(page)));
    }
    loadedPage = page;
}

void OpenJetFile::requireUnchanged() const
{
    if (mapped && mapped->changed())
        throw core::Failure(damagedDatabase(path, u"it changed while it was being read"_s));
}

bool OpenJetFile::faulted() const
{
    return mapped && mapped->faulted();
}

void OpenJetFile::dropPages(quint32 first, quint32 end) const
{
#ifdef Q_OS_LINUX
    // Only whole pages of the system; the mapping is private and never
    // written, so a dropped page reads back from the file.
    if (!mapped || !mdb || end <= first)
        return;
    static const qint64 systemPage = sysconf(_SC_PAGESIZE);
    const qint64 size = mdb->fmt->pg_size;
    const qint64 from = (qint64(first) * size + systemPage - 1) / systemPage * systemPage;
    const qint64 to =
        std::min<qint64>(qint64(end) * size, contents.size()) / systemPage * systemPage;
    if (to > from)
        madvise(const_cast<char *>(contents.constData()) + from, size_t(to - from), MADV_DONTNEED);
#else
    Q_UNUSED(first);
    Q_UNUSED(end);
#endif
}

} // namespace platform
