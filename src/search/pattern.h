#pragma once
#include <string>

#include "model/bytes.h"
#include "search/search_fields.h"

namespace quillet {

class CodePage;

// The bytes a find or replace text stands for in a mode:
// - HexData: one byte per pair of characters, each pair read by the lenient hex value (anything
//   that is not a number gives 0); an odd last character is ignored, blanks pair like any other.
// - Text: the text's own bytes.
// - TextUnicode: each character converted by itself to one 16-bit unit, low byte first.
Bytes patternBytes(const std::string& text, PatternMode mode, const CodePage& codePage);

}  // namespace quillet
