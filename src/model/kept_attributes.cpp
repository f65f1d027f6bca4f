#include "model/kept_attributes.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <sys/xattr.h>
#include <unistd.h>

#include "model/file_io.h"

namespace quillet {

namespace {
// Errors that say the process may not give a file this owner, mode or attribute, or the file
// system keeps none: the new file then stays as the process made it.
bool mayNotSet(int errorNumber)
{
    return errorNumber == EPERM || errorNumber == EACCES || errorNumber == EINVAL || errorNumber == ENOTSUP ||
           errorNumber == EOPNOTSUPP;
}

// Errors that say there is nothing this process can read to keep: the file system keeps no
// attributes, one went away meanwhile, or this user may not read it.
bool nothingToRead(int errorNumber)
{
    return errorNumber == ENOTSUP || errorNumber == EOPNOTSUPP || errorNumber == ENODATA || errorNumber == ENOENT ||
           errorNumber == EACCES || errorNumber == EPERM;
}

// A list or a value whose length the system tells first. It may grow before it is read; then
// the length is asked again. Nothing on an error, which errno tells.
template <typename Read>
std::optional<std::string> readSized(Read read)
{
    for (;;) {
        ssize_t length = read(nullptr, 0);
        if (length < 0) return std::nullopt;
        std::string buffer(static_cast<std::size_t>(length), '\0');
        ssize_t got = read(buffer.data(), buffer.size());
        if (got >= 0) {
            buffer.resize(static_cast<std::size_t>(got));
            return buffer;
        }
        if (errno != ERANGE) return std::nullopt;
    }
}

void copyOwner(int fd, uid_t owner, gid_t group)
{
    if (::fchown(fd, owner, group) == 0) return;
    if (!mayNotSet(errno)) throw ioErrorFromErrno();
    // Not the owner, but perhaps the group: a member may hand the file to it.
    if (::fchown(fd, static_cast<uid_t>(-1), group) != 0 && !mayNotSet(errno)) throw ioErrorFromErrno();
}
}  // namespace

KeptAttributes::KeptAttributes(const std::string& path, const struct stat& info)
    : owner_(info.st_uid), group_(info.st_gid), mode_(info.st_mode & 07777)
{
    const char* file = path.c_str();
    auto names = readSized([file](char* into, std::size_t size) { return ::llistxattr(file, into, size); });
    if (!names) {
        if (nothingToRead(errno)) return;
        throw ioErrorFromErrno();
    }
    for (std::size_t at = 0; at < names->size(); at += std::strlen(names->c_str() + at) + 1) {
        const char* name = names->c_str() + at;
        auto value = readSized(
            [file, name](char* into, std::size_t size) { return ::lgetxattr(file, name, into, size); });
        if (value) {
            extended_.emplace_back(name, std::move(*value));
        } else if (!nothingToRead(errno)) {
            throw ioErrorFromErrno();
        }
    }
}

void KeptAttributes::applyTo(int fd) const
{
    copyOwner(fd, owner_, group_);
    // The access control list among them sets the group's bits of the mode from its mask; the
    // mode set next has the same bits.
    for (const auto& [name, value] : extended_) {
        if (::fsetxattr(fd, name.c_str(), value.data(), value.size(), 0) != 0 && !mayNotSet(errno))
            throw ioErrorFromErrno();
    }
    if (::fchmod(fd, mode_) != 0 && !mayNotSet(errno)) throw ioErrorFromErrno();
}

}  // namespace quillet
