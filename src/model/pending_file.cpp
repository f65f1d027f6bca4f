#include "model/pending_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include "model/file_io.h"

namespace quillet {

namespace {
constexpr int NameAttempts = 100;

// A name no file is likely to have: ".qlt-" and six random letters or digits. Short, so that
// a target name of the full length still leaves room for it in the folder.
std::string hiddenNameIn(const std::string& folder)
{
    static const char characters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    constexpr std::uint64_t Count = sizeof characters - 1;
    std::uint64_t bits = 0;
    if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bits)) {
        static std::atomic<std::uint64_t> counter{0};
        bits = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
               (static_cast<std::uint64_t>(::getpid()) << 32) ^ counter.fetch_add(0x9E3779B97F4A7C15);
    }
    std::string name = folder == "/" ? "/.qlt-" : folder + "/.qlt-";
    for (int i = 0; i < 6; ++i, bits /= Count) name += characters[bits % Count];
    return name;
}

// Errors of a file system, or a system, that makes no unnamed files.
bool unnamedFilesUnsupported(int errorNumber)
{
    return errorNumber == EOPNOTSUPP || errorNumber == EISDIR || errorNumber == EINVAL;
}

// Gives the open unnamed file a name: through the process's own view of its open files, or,
// where that is not mounted, through the descriptor itself (which needs more rights).
int linkUnnamed(int fd, const std::string& name)
{
    std::string opened = "/proc/self/fd/" + std::to_string(fd);
    if (::access(opened.c_str(), F_OK) == 0)
        return ::linkat(AT_FDCWD, opened.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
    return ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH);
}
}  // namespace

PendingFile::PendingFile(const std::string& folder, mode_t mode) : folder_(folder)
{
    fd_ = ::open(folder_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (fd_ >= 0) return;
    if (!unnamedFilesUnsupported(errno)) throw ioErrorFromErrno();
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        std::string name = hiddenNameIn(folder_);
        fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
        if (fd_ >= 0) {
            try {
                takeHiddenName(name);
            } catch (...) {
                ::close(fd_);
                throw;
            }
            return;
        }
        if (errno != EEXIST) throw ioErrorFromErrno();
    }
    throw IoError(ioErrorText(EEXIST));
}

PendingFile::~PendingFile()
{
    if (fd_ >= 0) ::close(fd_);
    if (!hiddenName_.empty()) ::unlink(hiddenName_.c_str());
}

void PendingFile::takeHiddenName(const std::string& name)
{
    try {
        hiddenName_ = name;
        removal_.emplace(name);
    } catch (...) {
        ::unlink(name.c_str());
        hiddenName_.clear();
        throw;
    }
}

void PendingFile::nameUnnamedFile()
{
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        std::string name = hiddenNameIn(folder_);
        if (linkUnnamed(fd_, name) == 0) {
            takeHiddenName(name);
            return;
        }
        if (errno != EEXIST) throw ioErrorFromErrno();
    }
    throw IoError(ioErrorText(EEXIST));
}

void PendingFile::replace(const std::string& target, const std::function<void()>& beforeRename)
{
    // A name first, for the rename: a rename replaces the old file in one step, where a link
    // to the target's name would first need the old file gone.
    if (hiddenName_.empty()) nameUnnamedFile();
    if (beforeRename) beforeRename();
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) throw ioErrorFromErrno();
    if (::rename(hiddenName_.c_str(), target.c_str()) != 0) throw ioErrorFromErrno();
    hiddenName_.clear();
    removal_.reset();
}

}  // namespace quillet
