#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "model/segment_bytes.h"

namespace quillet {

// The byte in front of a block's text; it also names the block's kind in the file's notation.
constexpr std::uint8_t UnicodeMarker = 0xAB;

enum class SegmentKind : std::uint8_t {
    Data = 0,
    Unicode = UnicodeMarker,
};

// A unicode block's count byte holds its character count.
constexpr std::size_t MaxBlockCharacters = 255;
// The largest file position an index entry or the index offset can hold.
constexpr std::int64_t MaxIndexPosition = 0xFFFF;

// A 16-bit file position moved by `delta`, modulo 65536 as the file's words are.
inline std::uint16_t shiftedPosition(std::uint16_t position, std::int64_t delta)
{
    return static_cast<std::uint16_t>(std::int64_t{position} + delta);
}

// One segment of the body. A unicode block holds its characters only (two bytes each, low byte
// first), without count byte and marker.
struct Segment {
    SegmentKind kind = SegmentKind::Data;
    // The anchor the segment's file positions are counted from. Data segment: position of its
    // first byte minus 1. Unicode block: position of its count byte. The one segment of a raw
    // file: 0.
    std::uint16_t offset = 0;
    SegmentBytes data;
    // What its line in the segment list starts with, fixed when the file was loaded: its place
    // in the list then (from 1) and the index entry it was counted under, if any.
    std::size_t number = 0;
    std::optional<std::size_t> tag;
    // A data segment whose bytes were rewritten as text shows that text in its line instead of
    // its range, until a later change of positions gives the range back.
    std::optional<std::u16string> forcedText;

    bool isUnicode() const { return kind == SegmentKind::Unicode; }
    std::int64_t size() const { return static_cast<std::int64_t>(data.size()); }

    // Where the segment lies in an indexed file. A block starts with its count byte and marker
    // (its header bytes), a data segment with its data.
    std::int64_t headerBytes() const { return isUnicode() ? 2 : 0; }
    std::int64_t firstPosition() const { return isUnicode() ? offset : std::int64_t{offset} + 1; }
    std::int64_t dataStart() const { return firstPosition() + headerBytes(); }
    std::int64_t fileBytes() const { return headerBytes() + size(); }
    // The segment moved by `delta` bytes in the file.
    void shift(std::int64_t delta) { offset = shiftedPosition(offset, delta); }
};

// The anchor of a segment of `kind` whose first byte (a block's count byte) lies at `firstPosition`.
inline std::uint16_t anchorOf(SegmentKind kind, std::int64_t firstPosition)
{
    return static_cast<std::uint16_t>(kind == SegmentKind::Unicode ? firstPosition : firstPosition - 1);
}

}  // namespace quillet
