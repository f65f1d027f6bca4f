#include "model/file_io.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace quillet {

namespace {
constexpr std::size_t WriteBufferSize = 1 << 16;

IoError errorFromErrno()
{
    return IoError(ioErrorText(errno));
}

// Writes a whole block, retrying short writes and interruptions.
void writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            throw errorFromErrno();
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

// A save over a symbolic link writes the file it points to, not a new file in the link's place.
std::string resolvedTarget(const std::string& path)
{
    char resolved[PATH_MAX];
    struct stat info;
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) && ::realpath(path.c_str(), resolved))
        return resolved;
    return path;
}
}  // namespace

std::string ioErrorText(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
        return "File not found";
    case ENAMETOOLONG:
    case ENOTDIR:
    case EINVAL:
    case EILSEQ:
        return "Invalid filename";
    case EMFILE:
    case ENFILE:
        return "Too many open files";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return "File access denied";
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return "Disk full";
    default:
        return "I/O error " + std::to_string(errorNumber);
    }
}

bool fileExists(const std::string& path)
{
    struct stat info;
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

ReadOnlyFile::ReadOnlyFile(const std::string& path)
{
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) throw errorFromErrno();
    struct stat info;
    if (::fstat(fd_, &info) != 0) {
        IoError error = errorFromErrno();
        ::close(fd_);
        throw error;
    }
    size_ = static_cast<std::uint64_t>(info.st_size);
    std::string refusal;
    if (S_ISDIR(info.st_mode))
        refusal = ioErrorText(EISDIR);
    else if (size_ > MaxFileLength)
        refusal = "File too large: " + std::to_string(size_) + " bytes, the editor holds at most " +
                  std::to_string(MaxFileLength);
    if (!refusal.empty()) {
        ::close(fd_);
        throw IoError(refusal);
    }
}

ReadOnlyFile::~ReadOnlyFile()
{
    ::close(fd_);
}

void ReadOnlyFile::readAt(std::uint64_t position, void* into, std::size_t count) const
{
    auto* bytes = static_cast<char*>(into);
    std::size_t done = 0;
    while (done < count) {
        ssize_t got = ::pread(fd_, bytes + done, count - done, static_cast<off_t>(position + done));
        if (got < 0) {
            if (errno == EINTR) continue;
            throw errorFromErrno();
        }
        if (got == 0) throw IoError("Read beyond end of file");  // the file shrank while read
        done += static_cast<std::size_t>(got);
    }
}

Bytes ReadOnlyFile::readAt(std::uint64_t position, std::size_t count) const
{
    Bytes bytes(count);
    readAt(position, bytes.data(), count);
    return bytes;
}

Bytes readWholeFile(const std::string& path)
{
    ReadOnlyFile file(path);
    return file.readAt(0, file.size());
}

AtomicFileWriter::AtomicFileWriter(const std::string& path) : targetPath_(resolvedTarget(path))
{
    if (targetPath_.empty()) throw IoError(ioErrorText(ENOENT));
    struct stat info;
    bool targetExists = ::stat(targetPath_.c_str(), &info) == 0;
    if (targetExists && S_ISDIR(info.st_mode)) throw IoError(ioErrorText(EISDIR));
    // Refuse at once what the rename would refuse at the end: a target we may not replace.
    if (targetExists && ::access(targetPath_.c_str(), W_OK) != 0) throw errorFromErrno();

    std::string pattern = targetPath_ + ".quillet-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0) throw errorFromErrno();
    tempPath_ = name.data();

    mode_t mode;
    if (targetExists) {
        mode = info.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd_, mode);
    buffer_.reserve(WriteBufferSize);
}

AtomicFileWriter::~AtomicFileWriter()
{
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !tempPath_.empty()) ::unlink(tempPath_.c_str());
}

void AtomicFileWriter::write(const void* data, std::size_t size)
{
    if (buffer_.size() + size > WriteBufferSize) flushBuffer();
    if (size >= WriteBufferSize) {
        writeAll(fd_, static_cast<const char*>(data), size);
        return;
    }
    buffer_.append(static_cast<const char*>(data), size);
}

void AtomicFileWriter::flushBuffer()
{
    writeAll(fd_, buffer_.data(), buffer_.size());
    buffer_.clear();
}

void AtomicFileWriter::commit()
{
    flushBuffer();
    if (::fsync(fd_) != 0) throw errorFromErrno();
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) throw errorFromErrno();
    if (::rename(tempPath_.c_str(), targetPath_.c_str()) != 0) throw errorFromErrno();
    committed_ = true;
}

}  // namespace quillet
