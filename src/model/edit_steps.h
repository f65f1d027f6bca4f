#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "model/document.h"

namespace quillet {

// The steps every change of a document is made of. Each holds what changed, never a copy of
// the document, so that it can be taken back and done again exactly.

// An index entry's value before and after a step.
struct EntryChange {
    std::size_t entry = 0;
    std::uint16_t before = 0;
    std::uint16_t after = 0;
};

// One byte of a segment overwritten: a byte typed in the grid, a count byte recalculated.
struct ByteWrite {
    std::size_t segment = 0;
    std::size_t index = 0;
    std::uint8_t before = 0;
    std::uint8_t after = 0;
};

// The bytes [from, from + removed.size()) of a segment's data replaced by `inserted`; the
// segments behind it and the index entries move with the change of length.
struct BodySplice {
    std::size_t segment = 0;
    std::size_t from = 0;
    Bytes removed;
    Bytes inserted;
    std::vector<EntryChange> entries;
};

// A whole segment taken out; the segments behind it and the index entries move down.
struct SegmentRemoval {
    std::size_t segment = 0;
    Segment removed;
    std::vector<EntryChange> entries;
};

// The text a data segment's line shows instead of its range.
struct ForcedTextChange {
    std::size_t segment = 0;
    std::optional<std::u16string> before;
    std::optional<std::u16string> after;
};

// A place in a segment's data.
struct BytePlace {
    std::size_t segment = 0;
    std::size_t index = 0;
};

// Replace's writes: at each place in turn the pattern was found and the replacement written.
// Undone from the last place back, each place held the pattern again just before its write.
struct ReplaceWrites {
    Bytes pattern;
    Bytes replacement;
    std::vector<BytePlace> places;
};

// The body cut again from its bytes, as loading would cut it: the segments before and after.
struct SegmentsReread {
    std::vector<Segment> before;
    std::vector<Segment> after;
};

// Writes the replacement at one place: what Replace does at each hit, and redo at each place.
void writeReplacementAt(Document& document, const ReplaceWrites& writes, const BytePlace& place);

using EditStep = std::variant<ByteWrite, BodySplice, SegmentRemoval, ForcedTextChange, ReplaceWrites, SegmentsReread>;

// What one edit changed, in the order it changed it, and the segment to show afterwards.
struct Change {
    std::vector<EditStep> steps;
    std::optional<std::size_t> segment;

    bool empty() const { return steps.empty(); }
};

// Whether a change alters the bytes the document saves, not only what its lines show.
bool changesFile(const Change& change);

void redoStep(Document& document, const EditStep& step);
void undoStep(Document& document, const EditStep& step);
void redoChange(Document& document, const Change& change);
void undoChange(Document& document, const Change& change);

// The bytes a step keeps, for the history's own accounting.
std::size_t heldBytes(const EditStep& step);

}  // namespace quillet
