// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "platform/JetFileCheck.h"

using namespace Qt::Literals::StringLiterals;

namespace platform {

namespace {

constexpr quint8 DataPage = 0x01;
constexpr quint8 DefinitionPage = 0x02;
constexpr int CatalogPage = 2;

} // namespace

bool JetFile::recognizedHeader(const QByteArray &head)
{
    static const QByteArray magic =
        QByteArray::fromRawData("\x00\x01\x00\x00Standard Jet DB\x00", 20);
    if (head.size() < HeaderSize || !head.startsWith(magic))
        return false;
    const auto version = quint8(head.at(0x14)) | quint8(head.at(0x15)) << 8
                         | quint8(head.at(0x16)) << 16 | quint32(quint8(head.at(0x17))) << 24;
    return version <= 1;
}

bool JetFile::hasDatabaseSignature(const QByteArray &head)
{
    return head.startsWith(QByteArrayView("\x00\x01\x00\x00Standard Jet DB", 19))
           || head.startsWith(QByteArrayView("\x00\x01\x00\x00Standard ACE DB", 19));
}

JetFile::JetFile(const QByteArray &bytes)
    : m_bytes(bytes)
{
    if (!recognizedHeader(bytes))
        return;
    m_version = uint32At(0x14) == 0 ? Version::Jet3 : Version::Jet4;
    m_recognized = bytes.size() % pageSize() == 0 && pageCount() > CatalogPage;
}

QString JetFile::tableDefinitionProblem(quint32 page) const
{
    if (page == 0 || page >= quint32(pageCount()))
        return u"a table definition lies outside the file"_s;
    const qsizetype start = qsizetype(page) * pageSize();
    if (byteAt(start) != DefinitionPage)
        return u"page %1 is not a table definition"_s.arg(page);
    const int mapsAt = m_version == Version::Jet3 ? 35 : 55;
    for (int offset : {mapsAt, mapsAt + 4}) {
        const QString problem = rowProblem(uint32At(start + offset));
        if (!problem.isEmpty())
            return u"the usage map of the table at page %1: %2"_s.arg(page).arg(problem);
    }
    return {};
}

QString JetFile::rowProblem(quint32 pointer) const
{
    const quint32 page = pointer >> 8;
    const quint32 row = pointer & 0xFF;
    if (page == 0 || page >= quint32(pageCount()))
        return u"page %1 lies outside the file"_s.arg(page);
    const qsizetype start = qsizetype(page) * pageSize();
    if (byteAt(start) != DataPage)
        return u"page %1 is not a data page"_s.arg(page);
    const int countAt = m_version == Version::Jet3 ? 8 : 12;
    const quint32 rows = uint16At(start + countAt);
    const quint32 headerEnd = quint32(countAt + 2) + 2 * rows;
    if (row >= rows || headerEnd > quint32(pageSize()))
        return u"row %1 of page %2 does not exist"_s.arg(row).arg(page);
    const quint32 rowStart = uint16At(start + countAt + 2 + 2 * row) & 0x1FFF;
    const quint32 rowEnd =
        row == 0 ? quint32(pageSize()) : uint16At(start + countAt + 2 + 2 * (row - 1)) & 0x1FFF;
    if (rowStart < headerEnd || rowEnd > quint32(pageSize()) || rowStart >= rowEnd)
        return u"row %1 of page %2 is empty or misplaced"_s.arg(row).arg(page);
    return {};
}

} // namespace platform
