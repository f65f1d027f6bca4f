#pragma once
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "model/document.h"
#include "model/edit_steps.h"

namespace quillet {

// An edit the document cannot take; the text says why. Nothing was changed.
class EditRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Every change of length goes through these two steps, which move the positions behind the
// change by one rule: a resource that began at an index entry still begins at one afterwards.
// For the file bytes [a, a + n) replaced by n + delta bytes, an entry below a stays, an entry at
// or above a + n moves by delta, and an entry strictly inside moves by delta but never below a.
// An entry at a stays when it marks the start of the segment changed, that is when the change
// begins at the segment's first byte; bytes added at a segment's end, or to an empty segment,
// come before what begins at a, and that moves. A unicode block counts as replaced whole, from
// its count byte on.
// Both apply the step and return it; both refuse a body that would pass the 64 KiB an index can
// address.
BodySplice spliceSegment(Document& document, std::size_t s, std::size_t from, std::size_t count, Bytes inserted);
SegmentRemoval removeSegment(Document& document, std::size_t s);

// The commands' edits. Each applies itself and adds its steps to `change`, for the undo history;
// one that throws has added the steps it did, which the caller takes back.

// Removes segment `s` (a unicode block with its count byte and marker); data segments' lines
// get their ranges back.
void deleteSegment(Document& document, std::size_t s, Change& change);

// Gives unicode block `s` the characters `units`; the data segments' lines from `s` on get
// their ranges back. Refuses more than 255 characters.
void applyUnicodeText(Document& document, std::size_t s, std::u16string_view units, Change& change);

// Writes a byte of a segment.
void writeByte(Document& document, std::size_t s, std::size_t index, std::uint8_t value, Change& change);

// Sets or clears the text a data segment's line shows.
void setForcedText(Document& document, std::size_t s, std::optional<std::u16string> text, Change& change);
// Gives every data segment from `first` on its range back in its line.
void clearForcedTexts(Document& document, std::size_t first, Change& change);

}  // namespace quillet
