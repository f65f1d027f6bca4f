#pragma once
#include <functional>
#include <string>
#include <vector>

#include "model/texts_formats.h"

namespace quillet::test {

// A PO export with every msgstr set to its msgid, as `msgen` fills it.
std::string filledPo(const std::string& po);

using TextTransform = std::function<std::u16string(std::u16string)>;

// Expects a reading without error that gives every block with a text the text `transform`
// makes of it, in file order, and leaves blocks without a text alone.
void expectEveryNonEmptyText(
    const Result<TextChanges>& changes, const std::vector<BlockText>& blocks,
    const TextTransform& transform = [](const std::u16string& units) { return units; });

}  // namespace quillet::test
