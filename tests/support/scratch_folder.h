#pragma once
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace quillet::test {

// A fresh folder of its own under the temporary directory, removed with all it holds when the
// value goes. Others may look into it (mode 0755), so that a step run as an ordinary user
// reaches the files a test puts there.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// The names in a folder, sorted; and a file's whole content.
std::vector<std::string> namesIn(const std::string& folder);
std::string fileText(const std::string& path);

// Make special files: a named pipe, a device node (S_IFCHR or S_IFBLK with its numbers), a
// local socket's file. False when the system does not permit it here.
bool makeFifo(const std::string& path);
bool makeDeviceNode(const std::string& path, mode_t type, unsigned major, unsigned minor);
bool makeSocket(const std::string& path);

// Runs the step as an ordinary user and returns its result. Root passes every permission check,
// so when the tests run as root the step runs in a child process that gave up root's rights
// first. Nothing when those rights cannot be given up here.
std::optional<std::string> runAsOrdinaryUser(const std::function<std::string()>& step);

// The user and group an ordinary user's step runs as, when the tests run as root.
constexpr uid_t OrdinaryUserId = 65534;
constexpr gid_t OrdinaryGroupId = 65534;

}  // namespace quillet::test
