#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "model/bytes.h"
#include "model/result.h"
#include "search/search_fields.h"

namespace quillet {

class CodePage;

// The bytes a find or replace text stands for in a mode:
// - HexData: one byte per pair of characters, each pair read by the lenient hex value (anything
//   that is not a number gives 0); an odd last character is ignored, blanks pair like any other.
// - Text: the text in the code page. A character the code page lacks is refused (the failure
//   says which), never turned into "?", which would match real "?" bytes.
// - TextUnicode: the text's UTF-16 units, low byte first.
Result<Bytes> patternBytes(std::u16string_view text, PatternMode mode, const CodePage& codePage);

// The characters a replace text is counted in: bytes of the code page in Text mode (a double-byte
// character counts twice), UTF-16 units otherwise. Equal counts give equally long patterns.
std::optional<std::size_t> patternCharacterCount(std::u16string_view text, PatternMode mode, const CodePage& codePage);

}  // namespace quillet
