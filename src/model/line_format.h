#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/bytes.h"
#include "model/resource.h"

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

// The text of a segment line before its first blank, or the whole line.
std::string lineHead(const std::string& line);
// A line rebuilt with its old head: head + " " + rest.
std::string withHead(const std::string& oldLine, const std::string& rest);

// The 16-bit little-endian units of a byte run; an odd last byte is left out.
std::vector<std::uint16_t> unitsOf(const std::uint8_t* data, std::size_t size);

// Display text of 16-bit little-endian units, each converted on its own; a unit 0 adds
// nothing. An odd last byte is ignored. This is what list lines show.
std::string displayText(const std::uint8_t* data, std::size_t size, const CodePage& codePage);
std::string displayText(const Bytes& data, const CodePage& codePage);
// The text of units as a text field shows it: it ends at the first unit 0.
std::string fieldText(const std::vector<std::uint16_t>& units, const CodePage& codePage);

// The entry number of a list line: the text between its first "(" or ")" and the next one
// (or the end), read as a whole decimal number; nothing when there is none.
std::optional<std::size_t> entryNumberOfLine(const std::string& line);

}  // namespace quillet
