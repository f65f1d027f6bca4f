#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/bytes.h"
#include "support/byte_strings.h"

namespace quillet::test {

inline void putWord(Bytes& out, std::uint16_t word)
{
    out.push_back(static_cast<std::uint8_t>(word & 0xFF));
    out.push_back(static_cast<std::uint8_t>(word >> 8));
}

// An indexed file with the second header word 02 00 and one index entry at the start of each
// resource (given in hex), so that each resource becomes one segment; a resource "NN AB ..."
// becomes a unicode block. A last resource of one byte joins the one before it.
inline Bytes resourceFile(const std::vector<std::string>& resources)
{
    Bytes body;
    std::vector<std::uint16_t> entries;
    for (const std::string& resource : resources) {
        entries.push_back(static_cast<std::uint16_t>(4 + body.size()));
        Bytes bytes = bytesFromHex(resource);
        body.insert(body.end(), bytes.begin(), bytes.end());
    }
    auto indexOffset = static_cast<std::uint16_t>(4 + body.size());
    Bytes file;
    putWord(file, indexOffset);
    putWord(file, 2);
    file.insert(file.end(), body.begin(), body.end());
    for (std::uint16_t entry : entries) putWord(file, entry);
    putWord(file, indexOffset);
    return file;
}

// A unicode block with these units as a resource in hex: count byte, marker, then the units
// little-endian.
inline std::string blockHex(std::u16string_view units)
{
    static const char digits[] = "0123456789ABCDEF";
    auto byteHex = [](unsigned value) { return std::string{digits[value >> 4], digits[value & 15], ' '}; };
    std::string hex = byteHex(static_cast<unsigned>(units.size())) + "AB ";
    for (char16_t unit : units) hex += byteHex(unit & 0xFFu) + byteHex(unsigned{unit} >> 8);
    return hex;
}

// A byte given in hex, `count` times, as a hex string.
inline std::string repeatedHex(const std::string& byte, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) text += byte + " ";
    return text;
}

// The file of the worked example: a data segment, the block "Hi" and a data segment, under the
// index entries 4, 7 and 13.
inline Bytes workedExampleFile()
{
    return bytesFromHex("10 00 02 00 | 01 02 03 | 02 AB 48 00 69 00 | 05 06 07 | 04 00 07 00 0D 00 | 10 00");
}

}  // namespace quillet::test
