#pragma once
#include <string>
#include <string_view>

#include "model/result.h"

namespace quillet {

// A unicode block's text as one field of a line of UTF-8 for translators: surrogate pairs
// joined; "\\", TAB, LF, CR and NUL escaped as \\ \t \n \r \0, every other control character
// (U+0001 to U+001F, U+007F to U+009F) and an unpaired surrogate written as \uXXXX, so that the
// line holds no character an editor could take for a line end or a field's end, or show as
// nothing.
std::string escapedUtf8FromUnits(std::u16string_view units);

// The reverse; fails when the text is not valid UTF-8, holds an unknown escape or holds a
// control character as it is (the escape to write instead is named).
Result<std::u16string> unitsFromEscapedUtf8(std::string_view text);

}  // namespace quillet
