#pragma once
#include <string>
#include <string_view>

#include "model/result.h"

// How a PO file carries a unicode block's text.
//
// A PO string cannot hold a character 0 and, being UTF-8, no unpaired UTF-16 surrogate. A text
// with either is written in a notation, and its entry gets an extracted comment ("#.", which
// tools show the translator as a note) saying so. In such a text, and only there:
//     \0      stands for the unit 0,
//     \uXXXX  for the unit XXXX (written for unpaired surrogates), four hex digits,
//     \\      for one backslash;
// every other character stands for itself. Whether a text uses the notation follows from the
// block's current text alone, never from a comment or flag: gettext's tools drop flags they do
// not know, and a backslash in any other text stays an ordinary character that is never
// misread. The letters of the notation are read in either case, since a filter such as
// `msgfilter tr a-z A-Z` upper-cases them in the translation. TAB, LF and CR need no notation:
// PO carries them as \t, \n and \r.
namespace quillet {

// The extracted comment of an entry in the notation.
extern const std::string_view NotationNote;

// Whether the text holds a unit 0 or an unpaired surrogate.
bool needsNotation(std::u16string_view units);

// The text as a PO string, in the notation when `notation` is set.
std::string poTextOfUnits(std::u16string_view units, bool notation);

// The reverse of poTextOfUnits.
Result<std::u16string> unitsOfPoText(std::string_view text, bool notation);

}  // namespace quillet
