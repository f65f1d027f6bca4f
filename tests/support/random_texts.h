#pragma once
#include <random>
#include <vector>

#include "model/texts_formats.h"

namespace quillet::test {

// A text of `length` units drawn from the awkward ones: TAB, LF, CR, other control characters,
// quotes, backslashes, letters, non-ASCII characters, surrogate pairs and, when `uncarriable`,
// units 0 and unpaired surrogates.
std::u16string randomText(std::mt19937& random, std::size_t length, bool uncarriable);

// Blocks with rising segment numbers and random texts, every other one with units 0 and
// unpaired surrogates; among them an empty text and one of the longest a block holds.
std::vector<BlockText> randomBlocks(std::mt19937& random, std::size_t count);

}  // namespace quillet::test
