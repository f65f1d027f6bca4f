#pragma once
#include <string>

namespace quillet {

enum class PatternMode { HexData = 0, Text = 1, TextUnicode = 2 };

// The find dialog's fields, as the person typed them; they live for the whole run and keep
// their contents between uses.
struct FindFields {
    std::u16string text;
    PatternMode mode = PatternMode::HexData;
};

enum class ReplaceStart { Begin = 0, CurrentPos = 1 };

// The replace dialog's fields, kept for the whole run like the find dialog's.
struct ReplaceFields {
    std::u16string lookFor;
    std::u16string replaceWith;
    PatternMode mode = PatternMode::HexData;
    ReplaceStart startFrom = ReplaceStart::Begin;
};

}  // namespace quillet
