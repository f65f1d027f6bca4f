#pragma once
#include <cstdint>
#include <string>

#include "model/document.h"
#include "model/progress.h"

namespace quillet {

// The number of bytes written before the index: the index offset of the saved file.
std::uint64_t bytesBeforeIndex(const Document& document);

// Writes the document: a raw document as the bytes of its one segment (nothing when it has
// none); an indexed one rebuilt from its segments and index entries, with the index offset
// computed from what was written. The target is replaced only when all was written; a
// document whose index offset would not fit 16 bits is refused, and so is one whose mapped file
// another program changed since it was read or taken on (FileChangedWhileRead). Throws IoError;
// when the person cancels, throws WorkCancelled and leaves the target as it was.
void saveResource(const Document& document, const std::string& path, Progress& progress);
void saveResource(const Document& document, const std::string& path);
// The bytes saveResource writes, in memory.
Bytes savedImage(const Document& document);
// The bytes an indexed document writes before its index, in memory.
Bytes savedHead(const Document& document);

}  // namespace quillet
