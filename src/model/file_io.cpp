#include "model/file_io.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "model/kept_attributes.h"
#include "model/pending_file.h"
#include "model/save_target.h"
#include "model/translated.h"

namespace quillet {

namespace {
constexpr std::size_t WriteBufferSize = 1 << 16;

void writeAll(int fd, const char* data, std::size_t size);

// Writes the first piece of a block through a copy in memory of our own, returning its length.
// The system refuses to read a page of a mapped file that another program cut short; copied
// here, the page is read by the program itself, whose fault handler gives it as zeros.
std::size_t writeThroughCopy(int fd, const char* data, std::size_t size)
{
    std::vector<char> copy(data, data + std::min(size, WriteBufferSize));
    writeAll(fd, copy.data(), copy.size());
    return copy.size();
}

// Writes a whole block, retrying short writes and interruptions.
void writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            if (errno != EFAULT) throw ioErrorFromErrno();
            written = static_cast<ssize_t>(writeThroughCopy(fd, data, size));
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

// Why something that is there cannot be read or replaced as a file; empty for a regular file.
std::string notARegularFile(mode_t mode)
{
    if (S_ISREG(mode)) return std::string();
    if (S_ISDIR(mode)) return ioErrorText(EISDIR);
    const char* kind = S_ISFIFO(mode)   ? translated("a named pipe (FIFO)")
                       : S_ISCHR(mode)  ? translated("a character device")
                       : S_ISBLK(mode)  ? translated("a block device")
                       : S_ISSOCK(mode) ? translated("a socket")
                                        : translated("an unknown kind of file");
    return filled(translated("Not a regular file: %1"), {kind});
}

std::string folderOf(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes a rename in the folder durable. A folder the process may not open, or a file system
// that cannot sync folders, leaves the rename as the system keeps it.
void syncFolder(const std::string& folder)
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    int result = ::fsync(fd);
    int errorNumber = errno;
    ::close(fd);
    if (result != 0 && errorNumber != EINVAL && errorNumber != ENOTSUP && errorNumber != EOPNOTSUPP)
        throw IoError(ioErrorText(errorNumber));
}
}  // namespace

FileChangedWhileRead::FileChangedWhileRead(const std::string& consequence)
    : IoError("changed on disk while it was read (another program wrote to it or cut it short); " + consequence)
{}

IoError ioErrorFromErrno()
{
    return IoError(ioErrorText(errno));
}

void refuseUnlessRegular(mode_t mode)
{
    std::string refusal = notARegularFile(mode);
    if (!refusal.empty()) throw IoError(refusal);
}

std::string ioErrorText(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT: return translated("File not found");
    case ENAMETOOLONG:
    case ENOTDIR:
    case EINVAL:
    case EILSEQ: return translated("Invalid filename");
    case EMFILE:
    case ENFILE: return translated("Too many open files");
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY: return translated("File access denied");
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return translated("Disk full");
    case ELOOP: return translated("Too many levels of symbolic links");
    case EPIPE: return translated("Broken pipe");  // the reader of a pipe went before all was written
    default: return filled(translated("I/O error %1"), {std::to_string(errorNumber)});
    }
}

bool fileExists(const std::string& path)
{
    struct stat info;
    if (path.empty()) return false;
    if (::stat(path.c_str(), &info) == 0) return !S_ISDIR(info.st_mode);
    return errno == ELOOP;  // a link that loops is there; opening it says so
}

std::string fileNameOf(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}

ReadOnlyFile::ReadOnlyFile(const std::string& path)
{
    // A look before opening: opening a device may already act on it.
    struct stat info;
    if (::stat(path.c_str(), &info) == 0) refuseUnlessRegular(info.st_mode);
    // Without O_NONBLOCK a named pipe put in the file's place meanwhile would wait for a writer.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0) throw ioErrorFromErrno();
    if (::fstat(fd_, &info) != 0) {
        IoError error = ioErrorFromErrno();
        ::close(fd_);
        throw error;
    }
    size_ = static_cast<std::uint64_t>(info.st_size);
    stamp_ = stampOfDescriptor(fd_).value_or(FileStamp{});
    std::string refusal = notARegularFile(info.st_mode);  // what was opened, whatever the look saw
    if (refusal.empty() && size_ > MaxFileLength)
        refusal = filled(translated("File too large: %1 bytes, the editor holds at most %2"),
                         {std::to_string(size_), std::to_string(MaxFileLength)});
    if (!refusal.empty()) {
        ::close(fd_);
        throw IoError(refusal);
    }
}

bool ReadOnlyFile::changedSinceOpened() const
{
    return stampOfDescriptor(fd_) != stamp_;
}

bool ReadOnlyFile::isLocal() const
{
    struct statfs system;
    if (::fstatfs(fd_, &system) != 0) return false;
    switch (static_cast<unsigned long>(system.f_type)) {
    case 0x6969:      // NFS
    case 0x517B:      // SMB
    case 0xFF534D42:  // CIFS
    case 0xFE534D42:  // SMB2
    case 0x65735546:  // FUSE
    case 0x01021997:  // 9P
    case 0x00C36400:  // Ceph
    case 0x47504653:  // GPFS
    case 0x564C:      // NCP
    case 0x73757245:  // Coda
    case 0x5346414F:  // AFS
        return false;
    default: return true;
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
            throw ioErrorFromErrno();
        }
        if (got == 0) throw IoError(translated("Read beyond end of file"));  // the file shrank while read
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
    if (file.size() > MaxReadLength)
        throw IoError(filled(translated("File too large: %1 bytes, at most %2 can be read"),
                             {std::to_string(file.size()), std::to_string(MaxReadLength)}));
    return file.readAt(0, static_cast<std::size_t>(file.size()));
}

AtomicFileWriter::AtomicFileWriter(const std::string& path)
{
    SaveTarget target = saveTargetOf(path);
    targetPath_ = target.path;
    if (target.exists) kept_ = std::make_unique<KeptAttributes>(target.path, target.info);
    // Private until it takes the old file's mode; a new name gets what the system gives it.
    file_ = std::make_unique<PendingFile>(folderOf(targetPath_), target.exists ? 0600 : 0666);
    buffer_.reserve(WriteBufferSize);
}

AtomicFileWriter::~AtomicFileWriter() = default;

void AtomicFileWriter::write(const void* data, std::size_t size)
{
    written_ += size;
    if (buffer_.size() + size > WriteBufferSize) flushBuffer();
    if (size >= WriteBufferSize) {
        writeAll(file_->descriptor(), static_cast<const char*>(data), size);
        return;
    }
    buffer_.append(static_cast<const char*>(data), size);
}

void AtomicFileWriter::copyFrom(int fd, std::uint64_t position, const void* sameBytes, std::size_t count)
{
    flushBuffer();
    std::size_t copied = systemCopies_ ? copiedBySystem(fd, position, count) : 0;
    writeAll(file_->descriptor(), static_cast<const char*>(sameBytes) + copied, count - copied);
}

std::size_t AtomicFileWriter::copiedBySystem(int fd, std::uint64_t position, std::size_t count)
{
    std::size_t copied = 0;
    while (copied < count) {
        auto from = static_cast<off64_t>(position + copied);
        ssize_t done = ::copy_file_range(fd, &from, file_->descriptor(), nullptr, count - copied, 0);
        if (done > 0) {
            copied += static_cast<std::size_t>(done);
            continue;
        }
        if (done == 0) break;  // the file ends early: the rest is written as memory reads it
        if (errno == EINTR) continue;
        // A full disk is an error; a system or a pair of file systems that cannot copy is not.
        if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP && errno != EBADF)
            throw ioErrorFromErrno();
        systemCopies_ = false;
        break;
    }
    return copied;
}

void AtomicFileWriter::flushBuffer()
{
    writeAll(file_->descriptor(), buffer_.data(), buffer_.size());
    buffer_.clear();
}

void AtomicFileWriter::commit()
{
    NoProgress progress;
    commit(progress);
}

void AtomicFileWriter::commit(Progress& progress)
{
    flushBuffer();
    if (kept_) kept_->applyTo(file_->descriptor());
    flushToDisk(progress);
    file_->replace(targetPath_, [&] {
        if (!progress.report(written_, written_)) throw WorkCancelled();
    });
    syncFolder(folderOf(targetPath_));
}

// Flushing gigabytes takes as long as writing them: it goes a piece at a time, so that the person
// sees it move and may still cancel. The fsync at the end makes it whole, also where the system
// cannot flush by pieces.
void AtomicFileWriter::flushToDisk(Progress& progress)
{
    int fd = file_->descriptor();
    bool byPieces = true;
    for (std::uint64_t done = 0; byPieces && done < written_;) {
        std::uint64_t piece = std::min(ProgressStep, written_ - done);
        if (::sync_file_range(fd, static_cast<off_t>(done), static_cast<off_t>(piece),
                              SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER) != 0) {
            if (errno == EINTR) continue;
            if (errno != EINVAL && errno != ENOSYS && errno != ESPIPE && errno != EOPNOTSUPP) throw ioErrorFromErrno();
            byPieces = false;
        }
        done += piece;
        if (!progress.report(done, written_)) throw WorkCancelled();
    }
    if (::fsync(fd) != 0) throw ioErrorFromErrno();
}

}  // namespace quillet
