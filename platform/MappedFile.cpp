// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "platform/MappedFile.h"

#include <QFile>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// The mappings the SIGBUS handler answers for. A slot is free while its
// start is 0; the handler only reads the slots.
struct Slot
{
    std::atomic<std::uintptr_t> start{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<bool> faulted{false};
};
constexpr int SlotCount = 64;
std::array<Slot, SlotCount> slots;
std::mutex slotsMutex;
struct sigaction previousAction;
std::size_t pageSize = 4096;

// A read of a page that lies past the end of a shrunk file: the page is
// replaced by one of zeros, the fault noted, and the read goes on.
void onBusError(int signal, siginfo_t *info, void *context)
{
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (Slot &slot : slots) {
        const std::uintptr_t start = slot.start.load(std::memory_order_acquire);
        if (start == 0 || address < start || address >= slot.end.load(std::memory_order_acquire))
            continue;
        void *page = reinterpret_cast<void *>(address & ~(std::uintptr_t(pageSize) - 1));
        // mmap is a plain system call here, safe in a signal handler.
        if (::mmap(page, pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0)
            == MAP_FAILED)
            break;
        slot.faulted.store(true, std::memory_order_release);
        return;
    }
    // Not ours: the handler that was there before decides.
    if (previousAction.sa_flags & SA_SIGINFO) {
        previousAction.sa_sigaction(signal, info, context);
    } else if (previousAction.sa_handler != SIG_DFL && previousAction.sa_handler != SIG_IGN) {
        previousAction.sa_handler(signal);
    } else {
        // Back to the default, and the faulting read runs again: the end.
        ::signal(SIGBUS, SIG_DFL);
    }
}

void installHandler()
{
    static std::once_flag once;
    std::call_once(once, [] {
        pageSize = std::size_t(::sysconf(_SC_PAGESIZE));
        struct sigaction action
        {};
        action.sa_sigaction = &onBusError;
        action.sa_flags = SA_SIGINFO;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &previousAction);
    });
}

qint64 modificationOf(const struct stat &info)
{
    return qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
}

} // namespace

MappedFile::MappedFile(const QFile &file)
{
    struct stat info;
    if (file.handle() < 0 || ::fstat(file.handle(), &info) != 0) {
        m_error = qt_error_string(errno);
        return;
    }
    m_size = info.st_size;
    m_modified = modificationOf(info);
    if (m_size <= 0) {
        m_error = qt_error_string(EINVAL);
        return;
    }
    m_fd = ::dup(file.handle());
    void *data = m_fd < 0 ? MAP_FAILED
                          : ::mmap(nullptr, std::size_t(m_size), PROT_READ, MAP_PRIVATE, m_fd, 0);
    if (data == MAP_FAILED) {
        m_error = qt_error_string(errno);
        return;
    }
    m_data = data;
    installHandler();
    const std::lock_guard lock(slotsMutex);
    for (int i = 0; i < SlotCount; ++i) {
        if (slots[std::size_t(i)].start.load() != 0)
            continue;
        Slot &slot = slots[std::size_t(i)];
        slot.faulted = false;
        slot.end = reinterpret_cast<std::uintptr_t>(data) + std::uintptr_t(m_size);
        slot.start.store(reinterpret_cast<std::uintptr_t>(data), std::memory_order_release);
        m_slot = i;
        return;
    }
    // Every slot taken: without a guard, a shrinking file would end the
    // process; the file is refused instead.
    ::munmap(m_data, std::size_t(m_size));
    m_data = nullptr;
    m_error = qt_error_string(EMFILE);
}

MappedFile::~MappedFile()
{
    if (m_slot >= 0) {
        const std::lock_guard lock(slotsMutex);
        slots[std::size_t(m_slot)].start.store(0, std::memory_order_release);
    }
    if (m_data)
        ::munmap(m_data, std::size_t(m_size));
    if (m_fd >= 0)
        ::close(m_fd);
}

QByteArray MappedFile::bytes() const
{
    return m_data ? QByteArray::fromRawData(static_cast<const char *>(m_data), m_size)
                  : QByteArray();
}

bool MappedFile::faulted() const
{
    return m_slot >= 0 && slots[std::size_t(m_slot)].faulted.load(std::memory_order_acquire);
}

bool MappedFile::changed() const
{
    if (faulted())
        return true;
    struct stat info;
    return ::fstat(m_fd, &info) != 0 || info.st_size != m_size
           || modificationOf(info) != m_modified;
}

} // namespace platform
