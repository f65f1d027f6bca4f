#pragma once
#include <cstddef>
#include <cstdint>

#include "model/bytes.h"

namespace quillet {

constexpr std::uint8_t KindData = 0;
constexpr std::uint8_t KindUnicode = 171;  // also the marker byte 0xAB in front of a block's text
constexpr std::uint8_t UnicodeMarker = 0xAB;
// A unicode block's count byte holds its character count.
constexpr std::size_t MaxBlockCharacters = 255;

// One segment of the body. size always equals data.size(); a unicode block holds its
// characters only (two bytes each, low byte first), without count byte and marker.
struct Segment {
    std::int32_t size = 0;
    std::uint8_t kind = KindData;
    // data segment: position of its first byte minus 1. Unicode block: position of its count
    // byte. The one segment of a raw file: 0.
    std::uint16_t offset = 0;
    Bytes data;

    bool isUnicode() const { return kind == KindUnicode; }
};

}  // namespace quillet
