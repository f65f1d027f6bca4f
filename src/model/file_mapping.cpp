#include "model/file_mapping.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace quillet {

namespace {

// The live mappings, read by the signal handler without locks. A slot's range is written
// between two steps of its version (odd while it is being written), so the handler never
// takes the beginning of one mapping with the end of another.
struct Slot {
    std::atomic<unsigned> version{0};
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::uintptr_t> end{0};  // 0 while the slot is free
    // Where the zeros put in place of lost pages start: the end while nothing was lost.
    std::atomic<std::uintptr_t> zerosFrom{0};
    std::atomic<bool> damaged{false};
};
constexpr int SlotCount = 256;
Slot slots[SlotCount];
std::mutex slotsMutex;
struct sigaction previousAction;
// Read once outside the handler, which makes only calls the system allows there.
const auto PageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));

struct Range {
    std::uintptr_t begin;
    std::uintptr_t end;
};

// The slot's range as one whole, or false while it is free or being rewritten: then it is no
// mapping anyone reads from.
bool publishedRange(const Slot& slot, Range& range)
{
    unsigned version = slot.version.load();
    if (version % 2 != 0) return false;
    range = {slot.begin.load(), slot.end.load()};
    return range.end != 0 && slot.version.load() == version;
}

void publish(Slot& slot, std::uintptr_t begin, std::uintptr_t end)
{
    slot.version.fetch_add(1);
    slot.begin.store(begin);
    slot.end.store(end);
    slot.zerosFrom.store(end);
    slot.damaged.store(false);
    slot.version.fetch_add(1);
}

// A page past the file's new end was read: every page behind it in the mapping is past that
// end too, so zeros go over all of them up to the zeros already there, in one call. The
// system merges these into a single area, however many pages are lost.
bool replaceRestWithZeros(Slot& slot, std::uintptr_t page)
{
    std::uintptr_t zerosFrom = slot.zerosFrom.load();
    if (page < zerosFrom) {
        void* zeros = ::mmap(reinterpret_cast<void*>(page), zerosFrom - page, PROT_READ,
                             MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED | MAP_NORESERVE, -1, 0);
        if (zeros == MAP_FAILED) return false;
        // Read a large page at a time: a search on through gibibytes of zeros then costs a fault
        // per two mebibytes, not per page. A refusal leaves small pages, which read the same.
        ::madvise(zeros, zerosFrom - page, MADV_HUGEPAGE);
        slot.zerosFrom.store(page);
    }
    slot.damaged.store(true);
    return true;
}

bool replaceWithZeros(std::uintptr_t address)
{
    for (Slot& slot : slots) {
        Range range{};
        if (!publishedRange(slot, range) || address < range.begin || address >= range.end) continue;
        return replaceRestWithZeros(slot, address & ~(PageSize - 1));
    }
    return false;
}

// A bus error that is not one of ours goes where it went before: to the previous handler, as
// the kind of handler it is, which stays where it was; or to the default action.
void passOn(int signal, siginfo_t* info, void* context)
{
    if (previousAction.sa_flags & SA_SIGINFO) {
        previousAction.sa_sigaction(signal, info, context);
        return;
    }
    if (previousAction.sa_handler != SIG_DFL && previousAction.sa_handler != SIG_IGN) {
        previousAction.sa_handler(signal);
        return;
    }
    bool sent = info->si_code <= 0;  // by kill() or raise(), not by a fault
    if (sent && previousAction.sa_handler == SIG_IGN) return;
    // The system ends the process for a fault, ignored or not.
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    ::sigaction(signal, &byDefault, nullptr);
    if (sent) ::raise(signal);  // a fault comes back by itself when the handler returns
}

void onBusError(int signal, siginfo_t* info, void* context)
{
    int savedErrno = errno;
    bool fault = info->si_code > 0;
    if (!fault || !replaceWithZeros(reinterpret_cast<std::uintptr_t>(info->si_addr))) {
        errno = savedErrno;
        passOn(signal, info, context);
    }
    errno = savedErrno;
}

void installHandlerOnce()
{
    static std::once_flag installed;
    std::call_once(installed, [] {
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &previousAction);
    });
}

int claimSlot(const std::uint8_t* bytes, std::uint64_t size)
{
    std::lock_guard lock(slotsMutex);
    for (int i = 0; i < SlotCount; ++i) {
        if (slots[i].end.load() != 0) continue;
        auto begin = reinterpret_cast<std::uintptr_t>(bytes);
        publish(slots[i], begin, begin + size);
        return i;
    }
    return -1;
}

}  // namespace

std::shared_ptr<FileMapping> FileMapping::map(int fd, std::uint64_t length)
{
    if (length == 0 || length > SIZE_MAX) return nullptr;
    installHandlerOnce();
    int kept = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (kept < 0) return nullptr;
    void* address = ::mmap(nullptr, static_cast<std::size_t>(length), PROT_READ, MAP_SHARED, fd, 0);
    int slot = address == MAP_FAILED ? -1 : claimSlot(static_cast<std::uint8_t*>(address), length);
    if (slot < 0) {
        if (address != MAP_FAILED) ::munmap(address, static_cast<std::size_t>(length));
        ::close(kept);
        return nullptr;
    }
    return std::shared_ptr<FileMapping>(new FileMapping(static_cast<std::uint8_t*>(address), length, slot, kept));
}

FileMapping::FileMapping(std::uint8_t* bytes, std::uint64_t size, int slot, int fd)
    : bytes_(bytes), size_(size), slot_(slot), fd_(fd)
{}

FileMapping::~FileMapping()
{
    {
        std::lock_guard lock(slotsMutex);
        publish(slots[slot_], 0, 0);
    }
    ::munmap(bytes_, static_cast<std::size_t>(size_));
    ::close(fd_);
}

bool FileMapping::damaged() const
{
    return slots[slot_].damaged.load();
}

}  // namespace quillet
