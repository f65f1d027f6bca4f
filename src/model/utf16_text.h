#pragma once
#include <string>
#include <string_view>

#include "model/result.h"

namespace quillet {

// A unicode block's text as one line of UTF-8 for translators: surrogate pairs joined, "\\",
// TAB, LF, CR and NUL escaped as \\ \t \n \r \0, an unpaired surrogate written as \uXXXX.
std::string escapedUtf8FromUnits(std::u16string_view units);

// The reverse; fails when the text is not valid UTF-8 or holds an unknown escape.
Result<std::u16string> unitsFromEscapedUtf8(std::string_view text);

}  // namespace quillet
