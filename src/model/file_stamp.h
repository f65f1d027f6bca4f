#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace quillet {

// What tells one state of a file on disk from another: which file it is, and its length and
// time of last change, which every write moves on.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    bool operator==(const FileStamp&) const = default;
    bool isSameFileAs(const FileStamp& other) const { return device == other.device && inode == other.inode; }
};

// The file a name leads to now (its symbolic links followed); nothing when there is none.
std::optional<FileStamp> stampOfPath(const std::string& path);
// The file an open descriptor holds, whatever its names are now.
std::optional<FileStamp> stampOfDescriptor(int fd);

}  // namespace quillet
