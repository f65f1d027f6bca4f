#include "model/segment_bytes.h"

#include <algorithm>
#include <cstring>

#include "model/file_mapping.h"

namespace quillet {

SegmentBytes::SegmentBytes(Bytes bytes) : owned_(std::move(bytes))
{
    pointAtOwned();
}

SegmentBytes::SegmentBytes(std::shared_ptr<FileMapping> mapping, std::uint64_t start, std::uint64_t length)
    : mapping_(std::move(mapping)), begin_(mapping_->bytes() + start), size_(static_cast<std::size_t>(length))
{}

SegmentBytes::SegmentBytes(const SegmentBytes& other) : owned_(other.begin(), other.end())
{
    pointAtOwned();
}

SegmentBytes& SegmentBytes::operator=(const SegmentBytes& other)
{
    if (this != &other) *this = SegmentBytes(other);
    return *this;
}

SegmentBytes::SegmentBytes(SegmentBytes&& other) noexcept
    : owned_(std::move(other.owned_)), mapping_(std::move(other.mapping_)), begin_(other.begin_), size_(other.size_)
{
    if (!mapping_) pointAtOwned();
    other.owned_.clear();
    other.mapping_.reset();
    other.pointAtOwned();
}

SegmentBytes& SegmentBytes::operator=(SegmentBytes&& other) noexcept
{
    if (this == &other) return *this;
    owned_ = std::move(other.owned_);
    mapping_ = std::move(other.mapping_);
    begin_ = other.begin_;
    size_ = other.size_;
    if (!mapping_) pointAtOwned();
    other.owned_.clear();
    other.mapping_.reset();
    other.pointAtOwned();
    return *this;
}

SegmentBytes::~SegmentBytes() = default;

void SegmentBytes::pointAtOwned()
{
    begin_ = owned_.data();
    size_ = owned_.size();
}

Bytes SegmentBytes::copy(std::size_t from, std::size_t count) const
{
    return Bytes(begin_ + from, begin_ + from + count);
}

void SegmentBytes::splice(std::size_t from, std::size_t count, const std::uint8_t* inserted, std::size_t insertedCount)
{
    if (mapping_ || insertedCount > count) {
        // A new buffer: mapped bytes become bytes of their own, and growing needs room anyway.
        Bytes result;
        result.reserve(size_ - count + insertedCount);
        result.insert(result.end(), begin_, begin_ + from);
        result.insert(result.end(), inserted, inserted + insertedCount);
        result.insert(result.end(), begin_ + from + count, begin_ + size_);
        owned_ = std::move(result);
        mapping_.reset();
    } else {
        std::copy(inserted, inserted + insertedCount, owned_.begin() + static_cast<std::ptrdiff_t>(from));
        owned_.erase(owned_.begin() + static_cast<std::ptrdiff_t>(from + insertedCount),
                     owned_.begin() + static_cast<std::ptrdiff_t>(from + count));
    }
    pointAtOwned();
}

bool operator==(const SegmentBytes& a, const SegmentBytes& b)
{
    return a.size_ == b.size_ && (a.size_ == 0 || std::memcmp(a.begin_, b.begin_, a.size_) == 0);
}

}  // namespace quillet
