#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "model/segment.h"

namespace quillet {

class CodePage;

// "%3d" with every blank replaced by "0": 001 to 999, then the number's own digits.
std::string sequenceNumber(std::size_t oneBasedPosition);
// "(" + entry + ")", or nothing for a segment without an entry.
std::string indexTag(std::optional<std::size_t> entry);

std::string formatIndexLine(std::uint16_t entryValue, std::size_t entryNumber);
// The range part of a data segment's line: hexUpper(first, 4) ":" hexUpper(last, 4).
std::string dataRange(const Segment& segment);
std::string rawSegmentLine(std::uint64_t fileLength);

// The 16-bit little-endian units of a byte run; an odd last byte is left out.
std::u16string unitsOf(const std::uint8_t* data, std::size_t size);
// The same for the first `size` bytes of a segment's data.
std::u16string unitsOf(const SegmentBytes& data, std::size_t size);
// Units as bytes, low byte first.
Bytes bytesOfUnits(std::u16string_view units);

// The units as a text field shows them: up to the first unit 0.
std::u16string fieldUnits(std::u16string_view units);
// The units shown as 8-bit text, each converted on its own through the code page and up to the
// first unit 0 (or NUL byte), in UTF-8: what the status bar's preview of a data segment shows.
std::string codePagePreview(std::u16string_view units, const CodePage& codePage);

}  // namespace quillet
