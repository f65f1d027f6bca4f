#pragma once
#include <cstdint>
#include <memory>

namespace quillet {

// A whole file mapped read-only into memory: pages are read from the page cache when first
// touched, and show what the file holds now, also after another program wrote to it. The
// mapping keeps the file open, so that a save can copy from it and a look can tell whether it
// changed.
//
// Another program may cut the file short while it is mapped; touching a page past the new end
// would then end the process with SIGBUS. A handler catches that for the pages of every live
// mapping, puts zeros in place of the lost page and of every page behind it (all past the new
// end) and marks the mapping as damaged, so the program can tell the person instead of dying.
class FileMapping {
public:
    // Maps `length` bytes of the open file, which it keeps open on a descriptor of its own;
    // nothing when the system refuses (the caller reads the file instead).
    static std::shared_ptr<FileMapping> map(int fd, std::uint64_t length);
    ~FileMapping();
    FileMapping(const FileMapping&) = delete;
    FileMapping& operator=(const FileMapping&) = delete;

    const std::uint8_t* bytes() const { return bytes_; }
    std::uint64_t size() const { return size_; }
    // The mapped file, open for reading.
    int descriptor() const { return fd_; }
    // True once a page could not be read because the file had been cut short.
    bool damaged() const;

private:
    FileMapping(std::uint8_t* bytes, std::uint64_t size, int slot, int fd);

    std::uint8_t* bytes_;
    std::uint64_t size_;
    int slot_;
    int fd_;
};

}  // namespace quillet
