#include "support/scratch_folder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <sstream>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace quillet::test {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder()
{
    std::string pattern = (fs::temp_directory_path() / "quillet-scratch-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("cannot make a scratch folder");
    path_ = name.data();
    ::chmod(path_.c_str(), 0755);
}

ScratchFolder::~ScratchFolder()
{
    // A test may have left a folder read-only; its owner gets the rights back to empty it.
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(path_, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error)) {
        if (it->is_directory(error) && !it->is_symlink(error))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    }
    fs::remove_all(path_, error);
}

std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string fileText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

bool makeFifo(const std::string& path)
{
    return ::mkfifo(path.c_str(), 0644) == 0;
}

bool makeDeviceNode(const std::string& path, mode_t type, unsigned major, unsigned minor)
{
    return ::mknod(path.c_str(), type | 0644, makedev(major, minor)) == 0;
}

bool makeSocket(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return false;
    bool made = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);  // the socket file stays in the folder
    return made;
}

namespace {
constexpr int CannotDropRights = 3;

std::string readAll(int fd)
{
    std::string text;
    char piece[512];
    for (;;) {
        ssize_t got = ::read(fd, piece, sizeof piece);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return text;
        text.append(piece, static_cast<std::size_t>(got));
    }
}

void writeAllTo(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t put = ::write(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return;
        done += static_cast<std::size_t>(put);
    }
}
}  // namespace

std::optional<std::string> runAsOrdinaryUser(const std::function<std::string()>& step)
{
    if (::geteuid() != 0) return step();
    int channel[2];
    if (::pipe(channel) != 0) return std::nullopt;
    pid_t child = ::fork();
    if (child < 0) {
        ::close(channel[0]);
        ::close(channel[1]);
        return std::nullopt;
    }
    if (child == 0) {
        ::close(channel[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(OrdinaryGroupId) != 0 || ::setuid(OrdinaryUserId) != 0)
            ::_exit(CannotDropRights);
        std::string result;
        try {
            result = step();
        } catch (const std::exception& error) {
            result = std::string("exception: ") + error.what();
        }
        writeAllTo(channel[1], result);
        ::_exit(0);  // no test framework teardown in the child
    }
    ::close(channel[1]);
    std::string result = readAll(channel[0]);
    ::close(channel[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == CannotDropRights) return std::nullopt;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "the ordinary user's step ended abnormally";
    return result;
}

}  // namespace quillet::test
