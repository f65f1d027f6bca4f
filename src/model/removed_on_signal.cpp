#include "model/removed_on_signal.h"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <mutex>
#include <unistd.h>

namespace quillet {

namespace {
enum NotedState : int { Free, Filling, Noted };

// The names to remove, read by the signal handler without locks: a name is read only while
// its state says it is whole.
struct NotedFile {
    std::atomic<int> state{Free};
    char path[PATH_MAX];
};
constexpr int NotedFileCount = 32;
NotedFile notedFiles[NotedFileCount];
constexpr int EndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Makes only calls that the system allows in a signal handler.
void removeNotedFilesAndEnd(int signal)
{
    for (NotedFile& file : notedFiles)
        if (file.state.load() == Noted) ::unlink(file.path);
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    ::sigaction(signal, &byDefault, nullptr);
    ::raise(signal);  // blocked while the handler runs: delivered, by default, as it returns
}

void installHandlersOnce()
{
    static std::once_flag installed;
    std::call_once(installed, [] {
        struct sigaction action {};
        action.sa_handler = removeNotedFilesAndEnd;
        sigemptyset(&action.sa_mask);
        for (int signal : EndingSignals) sigaddset(&action.sa_mask, signal);
        for (int signal : EndingSignals) {
            struct sigaction current {};
            if (::sigaction(signal, nullptr, &current) != 0) continue;
            if ((current.sa_flags & SA_SIGINFO) == 0 && current.sa_handler == SIG_DFL)
                ::sigaction(signal, &action, nullptr);
        }
    });
}

// The name from the root: the handler may run after the working folder changed.
std::string absolute(const std::string& path)
{
    if (!path.empty() && path.front() == '/') return path;
    char folder[PATH_MAX];
    if (::getcwd(folder, sizeof folder) == nullptr) return std::string();
    return std::string(folder) + "/" + path;
}
}  // namespace

RemovedOnSignal::RemovedOnSignal(const std::string& path)
{
    std::string name = absolute(path);
    if (name.empty() || name.size() >= PATH_MAX) return;
    installHandlersOnce();
    for (int i = 0; i < NotedFileCount; ++i) {
        int expected = Free;
        if (!notedFiles[i].state.compare_exchange_strong(expected, Filling)) continue;
        std::memcpy(notedFiles[i].path, name.c_str(), name.size() + 1);
        notedFiles[i].state.store(Noted);
        slot_ = i;
        return;
    }
}

RemovedOnSignal::~RemovedOnSignal()
{
    if (slot_ >= 0) notedFiles[slot_].state.store(Free);
}

}  // namespace quillet
