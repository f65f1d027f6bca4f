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

// What an entry whose text is not in the file does to an import: it is counted, or it stops the
// import (as the command line's --strict asks).
enum class EntriesNotFound { Counted, Refused };

// Reads a translators' file against the document, in the format its content shows
// (textsFormatOfText).
Result<TextsRead> readTexts(std::string_view text, const Document& document,
                            EntriesNotFound notFound = EntriesNotFound::Counted);

}  // namespace quillet
