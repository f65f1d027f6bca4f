#pragma once
#include <memory>
#include <stdexcept>
#include <string>
#include <sys/types.h>

#include "model/bytes.h"
#include "model/file_stamp.h"
#include "model/progress.h"

namespace quillet {

// A failed file operation, with the text the person sees ("File not found", "Disk full", ...).
class IoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file a document reads its bytes from changed on disk during work on it, so that what was
// read of it may not belong together; the text goes on with what that means for the work.
class FileChangedWhileRead : public IoError {
public:
    explicit FileChangedWhileRead(const std::string& consequence);
};

// The text for a system error number.
std::string ioErrorText(int errorNumber);
// The error for errno as it is now.
IoError ioErrorFromErrno();
// Refuses, with what it is, something that is there but is no regular file: a folder, a named
// pipe, a device, a socket. Throws IoError.
void refuseUnlessRegular(mode_t mode);

// The largest file the editor holds: one mapped into memory, as a file without an index is,
// with a grid row for every sixteen bytes that a scroll bar can still reach.
constexpr std::uint64_t MaxFileLength = std::uint64_t{16} << 30;
// The largest file read into memory instead: one whose index entries are read, or one on a
// file system that is not mapped.
constexpr std::uint64_t MaxReadLength = 2147483647;

// True when the name is there and is no folder: a file to open, or something whose opening
// explains itself (a named pipe, a device, a symbolic link that loops).
bool fileExists(const std::string& path);

// The last part of a path, as a message names the file: "/data/game.rsc" gives "game.rsc".
std::string fileNameOf(const std::string& path);

// A file opened for reading, read by pieces at given positions. Throws IoError.
class ReadOnlyFile {
public:
    // Opens regular files only (through symbolic links): a folder, a named pipe, a device or a
    // socket is refused without waiting on it, as are files over MaxFileLength.
    explicit ReadOnlyFile(const std::string& path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    std::uint64_t size() const { return size_; }
    int descriptor() const { return fd_; }
    // The file as it was when opened, and whether another program wrote to it since.
    const FileStamp& stamp() const { return stamp_; }
    bool changedSinceOpened() const;
    // Whether the file lies on a local file system, whose pages the program may map: a network
    // or user-space file system may fail a page later, long after the file was opened.
    bool isLocal() const;
    void readAt(std::uint64_t position, void* into, std::size_t count) const;
    Bytes readAt(std::uint64_t position, std::size_t count) const;

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
    FileStamp stamp_;
};

// The whole file; throws IoError.
Bytes readWholeFile(const std::string& path);

class KeptAttributes;
class PendingFile;

// Writes a file by pieces into a new file next to the target, which replaces the target only
// when everything was written and flushed to disk; a failure, or the end of the process, leaves
// the target as it was and nothing else behind (see PendingFile). A symbolic link is followed
// where the system lets this user write through it: the file it points to is replaced and the
// link stays. A target that may not be written, or that is not a regular file (a folder, a named
// pipe, a device, a socket), is refused before anything is written. The new file keeps what
// `cp -p` keeps of the old one (see KeptAttributes); a new name gets the mode the umask gives.
// Other names (hard links) of the old file keep the old content: see namesOfSaveTarget.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::string& path);  // throws IoError
    ~AtomicFileWriter();                                 // removes the new file unless committed
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(const void* data, std::size_t size);  // throws IoError
    // Writes `count` bytes of the open file `fd` from `position`, which are also `sameBytes` in
    // memory: the system copies them from file to file where it can, without passing them
    // through the program, and otherwise (another file system, a file that ends early) they are
    // written from memory. Throws IoError.
    void copyFrom(int fd, std::uint64_t position, const void* sameBytes, std::size_t count);
    void commit();  // throws IoError
    // The same, telling how far the flush to disk is. Cancelled (WorkCancelled) at any point
    // before the new file takes the target's name, it leaves the target as it was and nothing
    // else behind.
    void commit(Progress& progress);

private:
    void flushBuffer();
    void flushToDisk(Progress& progress);
    // How many of the bytes the system copied; fewer where it could not.
    std::size_t copiedBySystem(int fd, std::uint64_t position, std::size_t count);

    std::string targetPath_;
    std::unique_ptr<KeptAttributes> kept_;  // none for a new name
    std::unique_ptr<PendingFile> file_;
    std::string buffer_;
    bool systemCopies_ = true;  // until the system refuses to copy between the two files
    std::uint64_t written_ = 0;
};

}  // namespace quillet
