#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/result.h"

// The translators' exchange formats for the texts of a file's unicode blocks: the TAB format of
// `quillet-cli texts` and gettext PO. Both work on plain values, so they know nothing of how a
// document holds its segments.
namespace quillet {

// One unicode block: its 1-based position in the segment list and its text.
struct BlockText {
    std::size_t segmentNumber = 0;
    std::u16string units;
};

// A new text for the block at segmentNumber.
struct TextChange {
    std::size_t segmentNumber = 0;
    std::u16string units;
};

// What reading a texts file gives: every change in the order of the file, or the first failure
// (naming its line when it is about one) and no change at all.
using TextChanges = std::vector<TextChange>;

// ---- TAB format: one "SEGMENTNUMBER<TAB>text" line per block, the text escaped as by
// escapedUtf8FromUnits (utf16_text.h).

// Every block (given in file order) as one line.
std::string writeTsv(const std::vector<BlockText>& blocks);

// Reads such lines against the file's blocks: empty lines are skipped, CR LF line ends and a
// UTF-8 byte order mark at the start are accepted; a line naming no block, a bad text, a text
// longer than a block holds or a segment named twice is an error.
Result<TextChanges> readTsv(std::string_view text, const std::vector<BlockText>& blocks);

// ---- gettext PO.
//
// The export is a PO file with a header entry and one entry per block in file order:
//
//     #: sample.rsc:4
//     msgctxt "4"
//     msgid "the block's text"
//     msgstr ""
//
// msgctxt is the segment number, so every entry is unique and names its block; the reference
// comment is the file name and that number, as a translation tool shows it.
//
// A PO string cannot hold a character 0 and, being UTF-8, no unpaired UTF-16 surrogate. A text
// with either is written in a notation and gets an extracted comment ("#.", which tools show
// the translator as a note) saying so. In such a text, and only there:
//     \0      stands for the unit 0,
//     \uXXXX  for the unit XXXX (written for unpaired surrogates), four hex digits,
//     \\      for one backslash;
// every other character stands for itself. Whether a text uses the notation follows from the
// block's current text alone, never from a comment or flag: gettext's tools drop flags they do
// not know, and a backslash in any other text stays an ordinary character that is never
// misread. The letters of the notation are read in either case, since a filter such as
// `msgfilter tr a-z A-Z` upper-cases them in the translation. TAB, LF and CR need no notation:
// PO carries them as \t, \n and \r.
//
// The PO reader is written here rather than taken from gettext's libgettextpo, which cannot meet
// this contract: its messages carry no line number in the PO file (po_filepos_t holds the "#:"
// references), so an entry of another version of the file could not be named by its line; a
// "\0" in a string silently cuts the string short; a UTF-8 byte order mark is a syntax error; it
// reads only from a named file; and on a fatal error or when memory runs out it ends the process
// or needs a handler that never returns. gettext's tools check this reader in the tests.

// The PO file of the blocks (given in file order); fileLabel names the file in the header and
// the references.
std::string writePo(std::string_view fileLabel, const std::vector<BlockText>& blocks);

// Whether a texts file is a PO file: its first line that is neither blank nor a comment starts
// with a PO keyword.
bool looksLikePo(std::string_view text);

// Reads a PO file against the file's blocks. Every entry that is not obsolete must name a
// block by its msgctxt and carry that block's current text as its msgid (else the file belongs
// to another version of the resource file); each of them with a non-empty msgstr and no fuzzy
// flag becomes a change. Errors name the line of the keyword they are about.
Result<TextChanges> readPo(std::string_view text, const std::vector<BlockText>& blocks);

}  // namespace quillet
