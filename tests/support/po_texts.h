#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/texts_formats.h"

namespace quillet::test {

// A PO export with every msgstr set to its msgid, as `msgen` fills it.
std::string filledPo(const std::string& po);

// A PO file with every empty msgstr of an entry (not the header) set to what `translate` gives
// for the entry's msgctxt (nothing when it has none) and msgid, all as the file writes them
// (escaped, without quotes), as a translator fills a file.
using Translator = std::function<std::string(const std::optional<std::string>& context, const std::string& id)>;
std::string translatedPo(const std::string& po, const Translator& translate);

using TextTransform = std::function<std::u16string(std::u16string)>;

// Expects a reading without error that gives every block with a text the text `transform`
// makes of it, in file order, and leaves blocks without a text alone.
void expectEveryNonEmptyText(
    const Result<TextsRead>& read, const std::vector<BlockText>& blocks,
    const TextTransform& transform = [](const std::u16string& units) { return units; });

}  // namespace quillet::test
