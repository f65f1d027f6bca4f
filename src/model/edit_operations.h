#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "model/document.h"
#include "model/edit_steps.h"
#include "model/texts_formats.h"

namespace quillet {

// An edit the document cannot take; the text says why. Nothing was changed.
class EditRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The edits of a document, one operation each. An operation builds its steps, applies each by
// the code that redo runs, and returns the change for the undo history; one that throws
// (EditRefused, std::bad_alloc) has left the document as it was.
//
// Every change of length moves the positions behind it by one rule: a resource that began at an
// index entry still begins at one afterwards. For the file bytes [a, a + n) replaced by n + delta
// bytes, an entry below a stays, an entry at or above a + n moves by delta, and an entry strictly
// inside moves by delta but never below a. An entry at a stays when it marks the start of the
// segment changed, that is when the change begins at the segment's first byte; bytes added at a
// segment's end, or to an empty segment, come before what begins at a, and that moves. A unicode
// block counts as replaced or removed whole, from its count byte on, and an entry strictly inside
// it goes to its start, never onto its marker. An edit that would put the index past the 64 KiB
// an index offset can address is refused.

// Replaces the bytes [from, from + count) of segment `s`'s data by `inserted`.
[[nodiscard]] Change spliceSegment(Document& document, std::size_t s, std::size_t from, std::size_t count,
                                   Bytes inserted);
// Takes segment `s` out (a unicode block with its count byte and marker).
[[nodiscard]] Change removeSegment(Document& document, std::size_t s);

// The command "delete segment": removes segment `s`; data segments' lines get their ranges back.
[[nodiscard]] Change deleteSegment(Document& document, std::size_t s);

// Gives unicode block `s` the characters `units`; the data segments' lines from `s` on get their
// ranges back. Refuses more than 255 characters.
[[nodiscard]] Change applyUnicodeText(Document& document, std::size_t s, std::u16string_view units);

// Gives every block named in `texts` its new text, as one change: the translators' import, in
// the window and on the command line alike. Refuses a segment that is no unicode block.
[[nodiscard]] Change applyTexts(Document& document, const std::vector<TextChange>& texts);

// Writes a byte of a segment.
[[nodiscard]] Change writeByte(Document& document, std::size_t s, std::size_t index, std::uint8_t value);

// A forced run rewritten as text: the line's units over the bytes [start, start + length) of
// data segment `segment`. A line of another length than the run resizes it (the person has
// agreed to that); `recount` then sets the count byte in front of the run to the line's
// character count. The segment's line shows the text afterwards.
struct ForcedWrite {
    std::size_t segment = 0;
    std::size_t start = 0;
    std::size_t length = 0;
    std::u16string units;
    bool recount = false;
};
[[nodiscard]] Change forceApply(Document& document, const ForcedWrite& write);
// Whether a forced write resizes its run, and whether the byte in front of the run then holds the
// run's character count, as a count byte would: only then is recounting offered.
bool resizesRun(const ForcedWrite& write);
bool runHasCountByte(const Document& document, const ForcedWrite& write);

// The command "read segments again": the body cut again from its bytes and index, as opening the
// saved file would cut it, so that the segments show what will load. Refuses a file held without an
// index (it has no body to cut).
[[nodiscard]] Change rereadSegments(Document& document);

// Sets or clears the text a data segment's line shows; changes no byte of the file.
[[nodiscard]] Change setForcedText(Document& document, std::size_t s, std::optional<std::u16string> text);

}  // namespace quillet
