#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/document.h"
#include "model/edit_steps.h"

namespace quillet {

// What the editor shows and what the file, saved now, loads back as may differ: the load cuts the
// body again from its bytes and index. These are the ways a segment can load differently.
enum class LoadDifferenceKind {
    // A byte 0xAB in data, after a byte that can be its count, will be read as a text's marker.
    MarkerStartsText,
    // A text will not be found: its bytes will be read as data.
    TextReadAsData,
    // The same, because its marker is the last byte before the index, which is never a marker.
    MarkerBeforeIndex,
    // The bytes will be cut into segments at other places (segments join or split).
    CutElsewhere,
    // A file held without an index will pass the index test and load with one.
    FileGetsIndex,
};

struct LoadDifference {
    LoadDifferenceKind kind = LoadDifferenceKind::CutElsewhere;
    std::size_t segment = 0;    // the segment shown that loads differently, from 0
    std::int64_t position = 0;  // the file position of the byte the reason is about
    // The character whose bytes put that byte there, when a text written by the edit did.
    std::optional<char32_t> character;
};

// The segments a change touched, as the document numbers them after it: the load can differ
// from the segment before the first of them on. When the body's length changed, so did the index
// offset, which decides whether a marker's text fits before the index: the load can then differ
// anywhere before them too.
struct TouchedSegments {
    std::size_t first = 0;
    std::size_t last = 0;
    bool lengthChanged = false;
};
std::optional<TouchedSegments> touchedSegments(const Change& change);

// Where the document, saved now, would load back otherwise than shown (kinds, bytes and texts of
// its segments; empty data segments hold nothing and are left out; the text a forced run shows is
// the editor's own). Scans again from the segment before the touched ones (from the body's start
// when the length changed) until the scan is back in step with the shown segments behind them:
// the rest loads as it did.
std::vector<LoadDifference> loadDifferences(const Document& document, TouchedSegments touched);
// The same over the whole document.
std::vector<LoadDifference> loadDifferences(const Document& document);

// Names the characters of a text written at file position `textStart` (two bytes a unit) whose
// bytes a difference is about.
void nameWritingCharacters(std::vector<LoadDifference>& differences, std::int64_t textStart, std::u16string_view units);

// One sentence for a person: what will load differently and why.
std::string describeLoadDifference(const LoadDifference& difference);

}  // namespace quillet
