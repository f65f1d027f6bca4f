#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "model/document.h"
#include "model/texts_formats.h"

namespace quillet {

// Every unicode block of a document, in file order, for the translators' files.
std::vector<BlockText> blockTextsOf(const Document& document);

// A translators' file of the document's blocks.
std::string writeTexts(const Document& document, const TextsFormat& format, std::string_view fileLabel);

// Reads a translators' file against the document, in the format its content shows
// (textsFormatOfText).
Result<TextChanges> readTexts(std::string_view text, const Document& document);

}  // namespace quillet
