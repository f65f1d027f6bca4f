#pragma once
#include <cstdint>
#include <memory>

namespace quillet {

// A whole file mapped privately into memory: pages are read from the page cache when first
// touched, and a page written gets a private copy, so the file on disk never changes.
//
// Another program may cut the file short while it is mapped; touching a page past the new end
// would then end the process with SIGBUS. A handler catches that for the pages of every live
// mapping, puts zeros in place of the lost page and of every page behind it (all past the new
// end) and marks the mapping as damaged, so the program can tell the person instead of dying.
class FileMapping {
public:
    // Maps `length` bytes of the open file; nothing when the system refuses (the caller reads
    // the file instead).
    static std::shared_ptr<FileMapping> map(int fd, std::uint64_t length);
    ~FileMapping();
    FileMapping(const FileMapping&) = delete;
    FileMapping& operator=(const FileMapping&) = delete;

    std::uint8_t* bytes() const { return bytes_; }
    std::uint64_t size() const { return size_; }
    // True once a page could not be read because the file had been cut short.
    bool damaged() const;

private:
    FileMapping(std::uint8_t* bytes, std::uint64_t size, int slot);

    std::uint8_t* bytes_;
    std::uint64_t size_;
    int slot_;
};

}  // namespace quillet
