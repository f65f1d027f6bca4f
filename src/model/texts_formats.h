#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/result.h"

// The translators' exchange formats for the texts of a file's unicode blocks. They work on plain
// values, so they know nothing of how a document holds its segments.
//
// A format is one file that implements TextsFormat (texts_tsv.cpp, texts_po.cpp) and one row in
// textsFormats() (texts_formats.cpp). The command line's --format and its help, and the window's
// Export and Import dialogs, take every format from that table.
namespace quillet {

// One unicode block: its 1-based position in the segment list, its text, and the file position
// of its count byte (a hint for the translator).
struct BlockText {
    std::size_t segmentNumber = 0;
    std::u16string units;
    std::int64_t position = 0;
};

// A new text for the block at segmentNumber.
struct TextChange {
    std::size_t segmentNumber = 0;
    std::u16string units;
};

using TextChanges = std::vector<TextChange>;

// What reading a texts file found, for the person: how many of its entries (PO entries, TAB
// lines) apply, and why the others do not.
struct TextsCounts {
    std::size_t applied = 0;
    // Whether the format has entries that are read but not applied (PO does, TAB does not):
    // only then are the next three said.
    bool hasUnapplied = false;
    std::size_t untranslated = 0;
    std::size_t fuzzy = 0;
    std::size_t notFound = 0;   // entries whose text is not in the file
    std::size_t unchecked = 0;  // applied by segment number alone, without a source text to check
    // The first entry whose text is not in the file, and where it is.
    std::optional<Failure> firstNotFound;

    // The entries that name a text of the file.
    std::size_t found() const { return applied + untranslated + fuzzy; }
};

// "3 applied, 1 untranslated, 0 fuzzy, 2 not found": the counts the format has, in that order,
// and ", N unchecked" when some were.
std::string summaryOf(const TextsCounts& counts);

// What reading a texts file gives: every change in the order of the file, and the counts.
struct TextsRead {
    TextChanges changes;
    TextsCounts counts;
};

class TextsFormat {
public:
    virtual ~TextsFormat() = default;

    // The blocks (given in file order) in this format; fileLabel names the resource file.
    virtual std::string write(std::string_view fileLabel, const std::vector<BlockText>& blocks) const = 0;
    // Reads a text against the file's blocks: the changes it asks for, or the first failure
    // (naming its line when it is about one) and no change at all. A text that names a block
    // twice, one longer than a block holds, one that holds no entry or none that is a text of
    // the file, and any text the format cannot read fail.
    virtual Result<TextsRead> read(std::string_view text, const std::vector<BlockText>& blocks) const = 0;
    // Whether a text is in this format, told by its content alone.
    virtual bool recognises(std::string_view text) const = 0;
};

// One row of the table of formats.
struct TextsFormatRow {
    std::string_view name;                     // as --format takes it
    std::string_view summary;                  // what the command line's help says of it
    std::string_view fileKind;                 // what the window's file dialogs call its files
    std::vector<std::string_view> extensions;  // lower case, with their dot; the first is written
    const TextsFormat& format;
};

// Every format; the first is the default.
const std::vector<TextsFormatRow>& textsFormats();

// The row of the format of that name, or nothing.
const TextsFormatRow* textsFormatNamed(std::string_view name);
// The format a file's name asks for by its extension, in either case; the default for any other.
const TextsFormatRow& textsFormatOfFileName(const std::string& fileName);
// The format of a text: the first that recognises it, the default when none does.
const TextsFormatRow& textsFormatOfText(std::string_view text);

// The extension of a file's name, lower case and with its dot: what follows the last dot, or
// nothing when no dot stands before something.
std::string extensionOf(const std::string& fileName);

}  // namespace quillet
