#include "model/segment_bytes.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "model/file_mapping.h"

namespace quillet {

SegmentBytes::SegmentBytes(Bytes bytes) : owned_(std::move(bytes)) {}

SegmentBytes::SegmentBytes(std::shared_ptr<const FileMapping> mapping, std::uint64_t start, std::uint64_t length)
    : mapping_(std::move(mapping)), start_(start), size_(static_cast<std::size_t>(length))
{}

const std::uint8_t* SegmentBytes::mapped() const
{
    return mapping_->bytes() + start_;
}

std::uint8_t SegmentBytes::operator[](std::size_t i) const
{
    if (!mapping_) return owned_[i];
    if (!written_.empty()) {
        auto page = written_.find(i / PageSize);
        if (page != written_.end()) return page->second.bytes[i % PageSize];
    }
    return mapped()[i];
}

std::span<const std::uint8_t> SegmentBytes::runAt(std::size_t index) const
{
    if (!mapping_) return {owned_.data() + index, owned_.size() - index};
    std::size_t number = index / PageSize;
    auto next = written_.lower_bound(number);
    if (next != written_.end() && next->first == number) {
        std::size_t pageEnd = std::min(size_, (number + 1) * PageSize);
        return {next->second.bytes.data() + index % PageSize, pageEnd - index};
    }
    std::size_t runEnd = next == written_.end() ? size_ : next->first * PageSize;
    return {mapped() + index, runEnd - index};
}

std::optional<std::uint64_t> SegmentBytes::filePositionAt(std::size_t index) const
{
    if (!mapping_ || written_.count(index / PageSize) != 0) return std::nullopt;
    return start_ + index;
}

void SegmentBytes::appendTo(Bytes& bytes, std::size_t from, std::size_t count) const
{
    for (std::size_t end = from + count; from < end;) {
        std::span<const std::uint8_t> run = runAt(from);
        std::size_t taken = std::min(run.size(), end - from);
        bytes.insert(bytes.end(), run.data(), run.data() + taken);
        from += taken;
    }
}

Bytes SegmentBytes::copy(std::size_t from, std::size_t count) const
{
    Bytes bytes;
    bytes.reserve(count);
    appendTo(bytes, from, count);
    return bytes;
}

SegmentBytes::Page& SegmentBytes::pageFor(std::size_t number)
{
    auto [place, made] = written_.try_emplace(number);
    if (made) {
        std::size_t begin = number * PageSize;
        std::memcpy(place->second.bytes.data(), mapped() + begin, std::min(PageSize, size_ - begin));
    }
    return place->second;
}

void SegmentBytes::write(std::size_t from, std::span<const std::uint8_t> bytes)
{
    if (!mapping_) {
        std::copy(bytes.begin(), bytes.end(), owned_.begin() + static_cast<std::ptrdiff_t>(from));
        return;
    }
    if (bytes.empty()) return;
    // Every page the write needs is there before a byte is written: a failure writes nothing.
    std::size_t first = from / PageSize;
    std::size_t last = (from + bytes.size() - 1) / PageSize;
    std::vector<Page*> pages;
    pages.reserve(last - first + 1);
    for (std::size_t number = first; number <= last; ++number) pages.push_back(&pageFor(number));
    for (std::size_t done = 0; done < bytes.size();) {
        std::size_t at = from + done;
        std::size_t piece = std::min(bytes.size() - done, PageSize - at % PageSize);
        Page& page = *pages[at / PageSize - first];
        std::memcpy(page.bytes.data() + at % PageSize, bytes.data() + done, piece);
        for (std::size_t i = at % PageSize; i < at % PageSize + piece; ++i) page.written.set(i);
        done += piece;
    }
}

void SegmentBytes::splice(std::size_t from, std::size_t count, const std::uint8_t* inserted, std::size_t insertedCount)
{
    if (mapping_ || insertedCount > count) {
        // A new buffer: mapped bytes become bytes of their own, and growing needs room anyway.
        Bytes result;
        result.reserve(size() - count + insertedCount);
        appendTo(result, 0, from);
        result.insert(result.end(), inserted, inserted + insertedCount);
        appendTo(result, from + count, size() - from - count);
        owned_ = std::move(result);
        mapping_.reset();
        written_.clear();
        size_ = 0;
    } else {
        std::copy(inserted, inserted + insertedCount, owned_.begin() + static_cast<std::ptrdiff_t>(from));
        owned_.erase(owned_.begin() + static_cast<std::ptrdiff_t>(from + insertedCount),
                     owned_.begin() + static_cast<std::ptrdiff_t>(from + count));
    }
}

void SegmentBytes::rereadUnwritten()
{
    for (auto& [number, page] : written_) {
        const std::uint8_t* file = mapped() + number * PageSize;
        std::size_t length = std::min(PageSize, size_ - number * PageSize);
        for (std::size_t i = 0; i < length; ++i)
            if (!page.written.test(i)) page.bytes[i] = file[i];
    }
}

std::size_t SegmentBytes::ownBytes() const
{
    return mapping_ ? written_.size() * sizeof(Page) : owned_.capacity();
}

bool operator==(const SegmentBytes& a, const SegmentBytes& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t position = 0; position < a.size();) {
        std::span<const std::uint8_t> left = a.runAt(position);
        std::span<const std::uint8_t> right = b.runAt(position);
        std::size_t count = std::min(left.size(), right.size());
        if (std::memcmp(left.data(), right.data(), count) != 0) return false;
        position += count;
    }
    return true;
}

}  // namespace quillet
