#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The translators' exchange formats for the texts of a file's unicode blocks, starting with the
// TAB format of `quillet-cli texts`. They work on plain values, so they know nothing of how a
// document holds its segments.
namespace quillet {

// One unicode block: its 1-based position in the segment list and its text.
struct BlockText {
    std::size_t segmentNumber = 0;
    std::vector<std::uint16_t> units;
};

// A new text for the block at segmentNumber.
struct TextChange {
    std::size_t segmentNumber = 0;
    std::vector<std::uint16_t> units;
};

// Why a texts file cannot be applied; line is 1-based, 0 when the reason is about no one line.
struct TextsError {
    std::size_t line = 0;
    std::string reason;
};

// What reading a texts file gives: every change in the order of the file, or the first error
// and no change at all.
struct TextsReading {
    std::vector<TextChange> changes;
    std::optional<TextsError> error;
};

// ---- TAB format: one "SEGMENTNUMBER<TAB>text" line per block, the text escaped as by
// escapedUtf8FromUnits (utf16_text.h).

// Every block (given in file order) as one line.
std::string writeTsv(const std::vector<BlockText>& blocks);

// Reads such lines against the file's blocks: empty lines are skipped, CR LF line ends and a
// UTF-8 byte order mark at the start are accepted; a line naming no block, a bad text, a text
// longer than a block holds or a segment named twice is an error.
TextsReading readTsv(std::string_view text, const std::vector<BlockText>& blocks);

}  // namespace quillet
