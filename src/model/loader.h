#pragma once
#include <string>

#include "model/bytes.h"
#include "model/document.h"
#include "model/progress.h"

namespace quillet {

// The index test of a file of `length` bytes: its last word repeats its first.
bool passesIndexTest(std::uint16_t firstWord, std::uint16_t lastWord, std::uint64_t length);

// The segments the body scan cuts from a file's bytes before the index (at `indexOffset`), with
// their line numbers and index tags, as loading makes them.
std::vector<Segment> segmentsOfBody(const std::uint8_t* bytes, std::int64_t indexOffset, const IndexEntries& entries);

// Cuts a file image into a document: index test, index entries and body scan.
// A raw file (no index) keeps its bytes, moved, in its one segment.
Document parseResource(Bytes image);

// Reads and parses a file; throws IoError, and WorkCancelled when the person cancels.
Document loadResource(const std::string& path, Progress& progress);
Document loadResource(const std::string& path);

}  // namespace quillet
