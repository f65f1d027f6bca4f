#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "model/bytes.h"

namespace quillet {

class FileMapping;

// The bytes of one segment: either bytes of its own or a range of a mapped file. A mapped range
// is written in place (the mapping is private, so the kernel copies just the page written);
// a change of length gives the segment bytes of its own. Copies are deep: two segments never
// share bytes they could write.
class SegmentBytes {
public:
    SegmentBytes() = default;
    SegmentBytes(Bytes bytes);  // NOLINT(google-explicit-constructor): bytes of its own
    SegmentBytes(std::shared_ptr<FileMapping> mapping, std::uint64_t start, std::uint64_t length);
    SegmentBytes(const SegmentBytes& other);
    SegmentBytes& operator=(const SegmentBytes& other);
    SegmentBytes(SegmentBytes&& other) noexcept;
    SegmentBytes& operator=(SegmentBytes&& other) noexcept;
    ~SegmentBytes();

    std::uint8_t* data() { return begin_; }
    const std::uint8_t* data() const { return begin_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::uint8_t& operator[](std::size_t i) { return begin_[i]; }
    std::uint8_t operator[](std::size_t i) const { return begin_[i]; }
    const std::uint8_t* begin() const { return begin_; }
    const std::uint8_t* end() const { return begin_ + size_; }

    // The bytes [from, from + count) as a copy.
    Bytes copy(std::size_t from, std::size_t count) const;
    // Replaces [from, from + count) by `inserted`; the bytes behind move. Throws std::bad_alloc.
    void splice(std::size_t from, std::size_t count, const std::uint8_t* inserted, std::size_t insertedCount);
    bool isMapped() const { return mapping_ != nullptr; }

    friend bool operator==(const SegmentBytes& a, const SegmentBytes& b);

private:
    void pointAtOwned();

    Bytes owned_;
    std::shared_ptr<FileMapping> mapping_;
    std::uint8_t* begin_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace quillet
