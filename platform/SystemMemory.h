// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <initializer_list>

namespace platform {

// The memory the program can still take, in bytes: the least of what the
// system can give without swapping (Linux: MemAvailable of /proc/meminfo),
// what the process's address-space limit (RLIMIT_AS) leaves beyond what it
// maps already, and what the memory limit of its cgroup, and of each cgroup
// above it, leaves beyond their use (memory.max and memory.current; version
// 1: memory.limit_in_bytes and memory.usage_in_bytes). -1 when none is known.
qint64 availableMemory();

namespace detail {

// A "Name: <n> kB" field of /proc/meminfo or /proc/self/status in bytes, -1
// when it is missing or unreadable.
qint64 kilobyteField(QByteArrayView contents, QByteArrayView name);

// The cgroup of the process in the unified hierarchy (version 2, the line
// "0::/user.slice/...") or in version 1's memory hierarchy (the line
// "4:memory:/..."), from the contents of /proc/self/cgroup; empty when there
// is none.
QString cgroupOf(QByteArrayView procCgroup, bool unified);

// What a cgroup's limit (memory.max; version 1: memory.limit_in_bytes) leaves
// beyond its use (memory.current; memory.usage_in_bytes); -1 for no limit
// ("max") or contents that are no number.
qint64 cgroupMemoryLeft(QByteArrayView limit, QByteArrayView use);

// What an address-space limit leaves beyond the bytes mapped; -1 for no
// limit (`unlimited`) or a mapping that is not known.
qint64 addressSpaceLeft(bool unlimited, quint64 limit, qint64 mapped);

// The least of the figures that are known (not negative); -1 when none is.
qint64 leastKnown(std::initializer_list<qint64> figures);

} // namespace detail

} // namespace platform
