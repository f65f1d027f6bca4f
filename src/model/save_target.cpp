#include "model/save_target.h"

#include <cerrno>
#include <climits>
#include <deque>
#include <fcntl.h>
#include <unistd.h>

#include "model/file_io.h"

namespace quillet {

namespace {
// The system's own limit on symbolic links followed for one name.
constexpr int MaxSymbolicLinks = 40;

// The parts of a name, empty ones left out. A name ending in "/" ends in "." here: what it
// names must be a folder.
std::deque<std::string> partsOf(const std::string& path)
{
    std::deque<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string::npos) slash = path.size();
        if (slash > start) parts.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    if (!path.empty() && path.back() == '/') parts.push_back(".");
    return parts;
}

// `folder` is "" for the working folder.
std::string inFolder(const std::string& folder, const std::string& name)
{
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The folder holding `folder`. Its links are already followed, so cutting off the last part
// is what the system does with "..".
std::string parentOf(const std::string& folder)
{
    if (folder == "/") return folder;
    std::size_t slash = folder.rfind('/');
    std::string last = slash == std::string::npos ? folder : folder.substr(slash + 1);
    if (folder.empty() || last == "..") return inFolder(folder, "..");
    if (slash == std::string::npos) return "";
    return slash == 0 ? "/" : folder.substr(0, slash);
}

std::string linkTarget(const std::string& link)
{
    char target[PATH_MAX];
    ssize_t length = ::readlink(link.c_str(), target, sizeof target);
    if (length < 0) throw ioErrorFromErrno();
    if (static_cast<std::size_t>(length) >= sizeof target) throw IoError(ioErrorText(ENAMETOOLONG));
    return std::string(target, static_cast<std::size_t>(length));
}

// The rule the system applies to links when its protected-symlinks setting is on, applied here
// whatever that setting is: in a sticky folder open to all for writing, a link is followed only
// when it belongs to this user or to the folder's owner. Anyone may put a link there, and one
// pointing at a file of this user's would have the save replace that file.
void refuseForeignLinkInSharedFolder(const std::string& folder, const struct stat& link)
{
    if (link.st_uid == ::geteuid()) return;
    struct stat folderInfo {};
    if (::stat(folder.empty() ? "." : folder.c_str(), &folderInfo) != 0) throw ioErrorFromErrno();
    const mode_t shared = S_ISVTX | S_IWOTH;
    if ((folderInfo.st_mode & shared) != shared || folderInfo.st_uid == link.st_uid) return;
    throw IoError(ioErrorText(EACCES) + ": the symbolic link belongs to another user, in a folder open to all");
}

// Walks the name part by part as the system does, following every link on the way (also one
// to a file still to be made), so that the save replaces the file a link points to and never
// the link itself.
SaveTarget resolvedTarget(const std::string& path)
{
    std::deque<std::string> rest = partsOf(path);
    std::string walked = path.front() == '/' ? "/" : "";
    for (int links = 0; !rest.empty();) {
        std::string part = std::move(rest.front());
        rest.pop_front();
        if (part == ".") continue;
        if (part == "..") {
            walked = parentOf(walked);
            continue;
        }
        SaveTarget target{inFolder(walked, part)};
        if (::lstat(target.path.c_str(), &target.info) != 0) {
            if (errno == ENOENT && rest.empty()) return target;
            throw ioErrorFromErrno();
        }
        if (S_ISLNK(target.info.st_mode)) {
            if (++links > MaxSymbolicLinks) throw IoError(ioErrorText(ELOOP));
            refuseForeignLinkInSharedFolder(walked, target.info);
            std::string next = linkTarget(target.path);
            std::deque<std::string> nextParts = partsOf(next);
            rest.insert(rest.begin(), nextParts.begin(), nextParts.end());
            if (!next.empty() && next.front() == '/') walked.assign(1, '/');
            continue;
        }
        if (rest.empty()) {
            target.exists = true;
            return target;
        }
        if (!S_ISDIR(target.info.st_mode)) throw IoError(ioErrorText(ENOTDIR));
        walked = target.path;
    }
    throw IoError(ioErrorText(EISDIR));  // the name ends at a folder
}

// Asks the system whether this user may write the file through the name as given: opening it
// for writing, without truncating it, applies every rule the system has for that. A running
// program's file cannot be opened for writing, yet may be replaced by another.
void checkMayWrite(const std::string& path)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ETXTBSY) return;
        throw ioErrorFromErrno();
    }
    struct stat opened {};
    int result = ::fstat(fd, &opened);
    int errorNumber = errno;
    ::close(fd);
    if (result != 0) throw IoError(ioErrorText(errorNumber));
    refuseUnlessRegular(opened.st_mode);  // what was opened, whatever the walk saw
}
}  // namespace

SaveTarget saveTargetOf(const std::string& path)
{
    if (path.empty()) throw IoError(ioErrorText(ENOENT));
    SaveTarget target = resolvedTarget(path);
    if (target.exists) {
        // A look before opening: opening a device may already act on it.
        refuseUnlessRegular(target.info.st_mode);
        checkMayWrite(path);
    }
    return target;
}

std::uint64_t namesOfSaveTarget(const std::string& path)
{
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
    return info.st_nlink;
}

std::string severalNamesWarning(const std::string& shownName, std::uint64_t names)
{
    return shownName + " has " + std::to_string(names) +
           " names: saving gives this name a new file, the others keep the old content";
}

}  // namespace quillet
