#pragma once
#include <stdexcept>
#include <string>

#include "model/bytes.h"

namespace quillet {

// A failed file operation, with the text the person sees ("File not found", "Disk full", ...).
class IoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The text for a system error number.
std::string ioErrorText(int errorNumber);

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
    // Whether the file lies on a local file system, whose pages the program may map: a network
    // or user-space file system may fail a page later, long after the file was opened.
    bool isLocal() const;
    void readAt(std::uint64_t position, void* into, std::size_t count) const;
    Bytes readAt(std::uint64_t position, std::size_t count) const;

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// The whole file; throws IoError.
Bytes readWholeFile(const std::string& path);

// Writes a file by pieces through a temporary file next to the target, which replaces the
// target only when everything was written and flushed; a failure leaves the target as it was.
// A symbolic link is followed: the file it points to is replaced and the link stays. A target
// that is not a regular file (a folder, a named pipe, a device, a socket) is refused before
// anything is written. The new file keeps the old one's mode, and its owner and group where
// the process may set them.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::string& path);  // throws IoError
    ~AtomicFileWriter();                                 // removes the temporary file unless committed
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(const void* data, std::size_t size);  // throws IoError
    void commit();                                   // throws IoError

private:
    void flushBuffer();
    void discard();  // closes and removes the temporary file unless committed

    std::string targetPath_;
    std::string tempPath_;
    int fd_ = -1;
    bool committed_ = false;
    std::string buffer_;
};

}  // namespace quillet
