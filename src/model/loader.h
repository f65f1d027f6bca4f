#pragma once
#include <string>

#include "model/bytes.h"
#include "model/document.h"

namespace quillet {

class CodePage;

// Cuts a file image into a document: index test, index entries, body scan and segment lines.
// A raw file (no index) keeps its bytes, moved, in its one segment.
Document parseResource(Bytes image, const CodePage& codePage);

// Reads and parses a file; throws IoError.
Document loadResource(const std::string& path, const CodePage& codePage);

}  // namespace quillet
