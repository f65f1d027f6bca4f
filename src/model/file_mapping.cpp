#include "model/file_mapping.h"

#include <atomic>
#include <csignal>
#include <cstdint>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace quillet {

namespace {

// The live mappings, readable from the signal handler without locks: a slot is in use while
// its end is not 0.
struct Slot {
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<bool> damaged{false};
};
constexpr int SlotCount = 256;
Slot slots[SlotCount];
std::mutex slotsMutex;
struct sigaction previousAction;

bool replaceWithZeros(std::uintptr_t address)
{
    const auto pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    for (Slot& slot : slots) {
        std::uintptr_t begin = slot.begin.load();
        std::uintptr_t end = slot.end.load();
        if (end == 0 || address < begin || address >= end) continue;
        void* page = reinterpret_cast<void*>(address & ~(pageSize - 1));
        void* zeros = ::mmap(page, pageSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
        if (zeros == MAP_FAILED) return false;
        slot.damaged.store(true);
        return true;
    }
    return false;
}

void onBusError(int signal, siginfo_t* info, void* context)
{
    if (replaceWithZeros(reinterpret_cast<std::uintptr_t>(info->si_addr))) return;
    // Not one of ours: whatever was there before decides, by default the end of the process.
    if (previousAction.sa_flags & SA_SIGINFO) {
        previousAction.sa_sigaction(signal, info, context);
        return;
    }
    ::sigaction(SIGBUS, &previousAction, nullptr);
    ::raise(SIGBUS);
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

int claimSlot(std::uint8_t* bytes, std::uint64_t size)
{
    std::lock_guard lock(slotsMutex);
    for (int i = 0; i < SlotCount; ++i) {
        if (slots[i].end.load() != 0) continue;
        slots[i].damaged.store(false);
        slots[i].begin.store(reinterpret_cast<std::uintptr_t>(bytes));
        slots[i].end.store(reinterpret_cast<std::uintptr_t>(bytes) + size);
        return i;
    }
    return -1;
}

}  // namespace

std::shared_ptr<FileMapping> FileMapping::map(int fd, std::uint64_t length)
{
    if (length == 0 || length > SIZE_MAX) return nullptr;
    installHandlerOnce();
    void* address = ::mmap(nullptr, static_cast<std::size_t>(length), PROT_READ | PROT_WRITE, MAP_PRIVATE, fd, 0);
    if (address == MAP_FAILED) return nullptr;
    auto* bytes = static_cast<std::uint8_t*>(address);
    int slot = claimSlot(bytes, length);
    if (slot < 0) {
        ::munmap(address, static_cast<std::size_t>(length));
        return nullptr;
    }
    return std::shared_ptr<FileMapping>(new FileMapping(bytes, length, slot));
}

FileMapping::FileMapping(std::uint8_t* bytes, std::uint64_t size, int slot) : bytes_(bytes), size_(size), slot_(slot) {}

FileMapping::~FileMapping()
{
    {
        std::lock_guard lock(slotsMutex);
        slots[slot_].end.store(0);
        slots[slot_].begin.store(0);
    }
    ::munmap(bytes_, static_cast<std::size_t>(size_));
}

bool FileMapping::damaged() const
{
    return slots[slot_].damaged.load();
}

}  // namespace quillet
