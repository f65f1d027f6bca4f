#include "model/file_stamp.h"

#include <sys/stat.h>

namespace quillet {

namespace {
FileStamp stampOf(const struct stat& info)
{
    return FileStamp{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                     static_cast<std::uint64_t>(info.st_size), static_cast<std::int64_t>(info.st_mtim.tv_sec),
                     static_cast<std::int64_t>(info.st_mtim.tv_nsec)};
}
}  // namespace

std::optional<FileStamp> stampOfPath(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return stampOf(info);
}

std::optional<FileStamp> stampOfDescriptor(int fd)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0) return std::nullopt;
    return stampOf(info);
}

}  // namespace quillet
