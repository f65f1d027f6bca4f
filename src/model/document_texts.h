#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "model/document.h"
#include "model/texts_exchange.h"

namespace quillet {

enum class TextsFormat { Tsv, Po };

// Every unicode block of a document, in file order, for the translators' files.
std::vector<BlockText> blockTextsOf(const Document& document);

// A translators' file of the document's blocks.
std::string writeTexts(const Document& document, TextsFormat format, std::string_view fileLabel);

// Reads a translators' file against the document: a PO file when its content is one, the TAB
// format otherwise.
TextsReading readTexts(std::string_view text, const Document& document);

}  // namespace quillet
