#pragma once
#include <cstdint>
#include <functional>
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
// Saves as saveResource does, but when the file the document was read from turned out cut short
// by another program (its lost bytes read as 00), throws IoError and leaves the target as it
// was: for a caller that cannot tell the person before the save, as the window does.
void saveResourceWhole(const Document& document, const std::string& path);
// The bytes saveResource writes, handed to `write` a piece at a time as they are made, for a
// target that is written as it goes rather than replaced whole (standard output). A document
// whose index offset would not fit 16 bits is refused (IoError) before anything is handed over.
void writeResource(const Document& document, const std::function<void(const std::uint8_t*, std::size_t)>& write);
// The bytes saveResource writes, in memory.
Bytes savedImage(const Document& document);
// The bytes an indexed document writes before its index, in memory.
Bytes savedHead(const Document& document);

}  // namespace quillet
