#pragma once
#include <string>
#include <string_view>

#include "model/bytes.h"
#include "model/segment_bytes.h"

namespace quillet::test {

// Bytes from a readable hex string such as "10 00 02 00 | 01 02 03": pairs of hex digits,
// blanks and "|" only group them.
Bytes bytesFromHex(std::string_view text);
std::string hexOf(const Bytes& bytes);  // "10 00 02 00"
std::string hexOf(const SegmentBytes& bytes);

// Writes bytes to a fresh file in a temporary folder of the test run and returns its path.
std::string writeTempFile(const Bytes& bytes, const std::string& name = "file.rsc");
// Writes bytes over the file `path` in place, as a program like cp does.
void writeFileBytes(const std::string& path, const Bytes& bytes);
Bytes readFileBytes(const std::string& path);
std::string tempPath(const std::string& name);

}  // namespace quillet::test
