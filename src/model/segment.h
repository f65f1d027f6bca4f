#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "model/segment_bytes.h"

namespace quillet {

constexpr std::uint8_t KindData = 0;
constexpr std::uint8_t KindUnicode = 171;  // also the marker byte 0xAB in front of a block's text
constexpr std::uint8_t UnicodeMarker = 0xAB;
// A unicode block's count byte holds its character count.
constexpr std::size_t MaxBlockCharacters = 255;

// One segment of the body. A unicode block holds its characters only (two bytes each, low byte
// first), without count byte and marker.
struct Segment {
    std::uint8_t kind = KindData;
    // Data segment: position of its first byte minus 1. Unicode block: position of its count
    // byte. The one segment of a raw file: 0.
    std::uint16_t offset = 0;
    SegmentBytes data;
    // What its line in the segment list starts with, fixed when the file was loaded: its place
    // in the list then (from 1) and the index entry it was counted under, if any.
    std::size_t number = 0;
    std::optional<std::size_t> tag;
    // A data segment whose bytes were rewritten as text shows that text in its line instead of
    // its range, until a later change of positions gives the range back.
    std::optional<std::u16string> forcedText;

    bool isUnicode() const { return kind == KindUnicode; }
    std::int64_t size() const { return static_cast<std::int64_t>(data.size()); }
};

}  // namespace quillet
