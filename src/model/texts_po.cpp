#include <algorithm>

#include "model/hex.h"
#include "model/po_syntax.h"
#include "model/segment.h"
#include "model/texts_formats.h"
#include "model/texts_reading.h"
#include "model/translated.h"
#include "model/utf16_text.h"
#include "model/utf8.h"

// gettext PO.
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
// The import: every entry that is not obsolete must name a block by its msgctxt and carry that
// block's current text as its msgid (else the file belongs to another version of the resource
// file); each of them with a non-empty msgstr and no fuzzy flag becomes a change. Failures name
// the line of the keyword they are about. A text is a PO file when its first line that is
// neither blank nor a comment starts with a PO keyword.
//
// The PO reader is written here rather than taken from gettext's libgettextpo, which cannot meet
// this contract: its messages carry no line number in the PO file (po_filepos_t holds the "#:"
// references), so an entry of another version of the file could not be named by its line; a
// "\0" in a string silently cuts the string short; a UTF-8 byte order mark is a syntax error; it
// reads only from a named file; and on a fatal error or when memory runs out it ends the process
// or needs a handler that never returns. gettext's tools check this reader in the tests.
namespace quillet {

namespace {

constexpr std::string_view NotationNote =
    "#. This text holds characters a PO file cannot carry, written in a notation:\n"
    "#. \\0 stands for a character 0, \\uXXXX for one UTF-16 unit, \\\\ for one\n"
    "#. backslash. Keep them so in the translation.\n";

// Whether the text holds a unit 0 or an unpaired surrogate.
bool needsNotation(const std::u16string& units)
{
    Utf16Walk walk(units);
    while (auto piece = walk.next())
        if (piece->loneSurrogate || piece->codePoint == 0) return true;
    return false;
}

// The text as a PO string, in the notation when `notation` is set.
std::string poTextOfUnits(const std::u16string& units, bool notation)
{
    std::string out;
    Utf16Walk walk(units);
    while (auto piece = walk.next()) {
        if (notation && piece->loneSurrogate)
            out += "\\u" + hexUpper(piece->codePoint, 4);
        else if (notation && piece->codePoint == '\\')
            out += "\\\\";
        else if (notation && piece->codePoint == 0)
            out += "\\0";
        else
            appendUtf8(out, piece->codePoint);
    }
    return out;
}

// The unit a notation names; `at` is just past its backslash and ends past the notation.
Result<char16_t> unitOfNotation(std::string_view text, std::size_t& at)
{
    const char* help = translated("%1 (in this text \\\\ stands for one backslash)");
    if (at >= text.size()) return Failure{filled(help, {translated("the text ends with a lone \\")})};
    char letter = text[at++];
    if (letter == '\\') return u'\\';
    if (letter == '0') return u'\0';
    bool isU = letter == 'u' || letter == 'U';
    if (auto unit = isU ? unitOfFourHexDigits(text.substr(at)) : std::nullopt) {
        at += 4;
        return *unit;
    }
    return Failure{filled(help, {isU ? translated("\\u needs four hex digits")
                                     : filled(translated("unknown notation \\%1"), {std::string(1, letter)})})};
}

// The reverse of poTextOfUnits.
Result<std::u16string> unitsOfPoText(std::string_view text, bool notation)
{
    std::u16string units;
    std::size_t at = 0;
    while (at < text.size()) {
        if (notation && text[at] == '\\') {
            Result<char16_t> unit = unitOfNotation(text, ++at);
            if (!unit) return unit.failure();
            units.push_back(*unit);
        } else if (auto codePoint = decodeUtf8(text, at)) {
            appendUnits(units, *codePoint);
        } else {
            return Failure{translated("the text is not valid UTF-8")};
        }
    }
    return units;
}

// The file's name as one line of valid UTF-8, for the header and the comments.
std::string printableLabel(std::string_view label)
{
    std::string out;
    for (std::size_t at = 0; at < label.size();) {
        auto codePoint = decodeUtf8(label, at);
        if (!codePoint) {
            out += "\xEF\xBF\xBD";  // U+FFFD
            ++at;
        } else if (*codePoint < 0x20 || *codePoint == 0x7F) {
            out += '?';
        } else {
            appendUtf8(out, *codePoint);
        }
    }
    return out;
}

std::string poHeader(const std::string& label)
{
    std::string out = "# Texts of the unicode blocks of " + label +
                      ", for translation.\n"
                      "# Each msgctxt is its block's segment number. A translation holds at\n"
                      "# most " +
                      std::to_string(MaxBlockCharacters) +
                      " UTF-16 units; an empty msgstr leaves its block as it is.\n"
                      "msgid \"\"\n";
    // The language of the texts is not known here: "und" is the tag for an undetermined one.
    return out + poStatement("msgstr", "Project-Id-Version: " + label +
                                           "\n"
                                           "Report-Msgid-Bugs-To: \n"
                                           "POT-Creation-Date: \n"
                                           "PO-Revision-Date: \n"
                                           "Last-Translator: \n"
                                           "Language-Team: \n"
                                           "Language: und\n"
                                           "MIME-Version: 1.0\n"
                                           "Content-Type: text/plain; charset=UTF-8\n"
                                           "Content-Transfer-Encoding: 8bit\n");
}

std::string lowerAscii(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; });
    return lower;
}

// The charset the header's Content-Type names; empty when it names none.
std::string charsetOfHeader(std::string_view header)
{
    std::string lower = lowerAscii(header);
    std::size_t field = lower.rfind("content-type:", 0) == 0 ? 0 : lower.find("\ncontent-type:");
    if (field == std::string::npos) return {};
    std::size_t lineEnd = lower.find('\n', field + 1);
    std::size_t charset = lower.find("charset=", field);
    if (charset == std::string::npos || charset > lineEnd) return {};
    charset += 8;
    std::size_t end = lower.find_first_of("; \t\n", charset);
    return std::string(header.substr(charset, end == std::string::npos ? std::string::npos : end - charset));
}

// The texts are read as UTF-8, so a header naming another charset stops the import.
Result<void> checkHeader(const PoEntry& header)
{
    std::string charset = charsetOfHeader(header.translation.text);
    std::string lower = lowerAscii(charset);
    // "CHARSET" is the placeholder of a template that was never given one.
    for (std::string_view readable : {"", "utf-8", "utf8", "ascii", "us-ascii", "charset"})
        if (lower == readable) return {};
    return Failure{filled(translated("the PO file is in %1; only UTF-8 is read (msgconv --to-code=UTF-8 converts it)"),
                          {printableLabel(charset)}),
                   header.translation.line};
}

// The block the entry's msgctxt names.
Result<const BlockText*> findBlock(const PoEntry& entry, NamedBlocks& named)
{
    const PoField& context = *entry.context;
    bool number = !context.text.empty() && context.text.find_first_not_of("0123456789") == std::string::npos;
    if (!number) return Failure{translated("msgctxt does not name a segment by its number"), context.line};
    const BlockText* block = context.text.size() <= 9 ? named.find(std::stoul(context.text)) : nullptr;
    if (block == nullptr)
        return Failure{filled(translated("segment %1 is not a unicode block"), {context.text}), context.line};
    std::string segment = std::to_string(block->segmentNumber);
    if (entry.plural)
        return Failure{
            filled(translated("segment %1 is named by a plural entry, which cannot hold its text"), {segment}),
            context.line};
    if (Result<void> first = named.name(block->segmentNumber, context.line); !first) return first.failure();
    return block;
}

// Checks one entry against the file's blocks and adds the change it asks for.
Result<void> takeEntry(const PoEntry& entry, NamedBlocks& named, TextChanges& changes)
{
    if (!entry.context) {
        if (entry.id.text.empty()) return checkHeader(entry);
        return Failure{translated("the entry has no msgctxt, so it names no unicode block"), entry.id.line};
    }
    Result<const BlockText*> found = findBlock(entry, named);
    if (!found) return found.failure();
    const BlockText& block = **found;
    bool notation = needsNotation(block.units);
    Result<std::u16string> original = unitsOfPoText(entry.id.text, notation);
    if (!original || *original != block.units)
        return Failure{filled(translated("msgid is not the current text of segment %1: the PO file belongs to another "
                                         "version of the file"),
                              {std::to_string(block.segmentNumber)}),
                       entry.id.line};
    if (entry.fuzzy || entry.translation.text.empty()) return {};
    Result<std::u16string> units = unitsOfPoText(entry.translation.text, notation);
    if (!units) return units.failure().onLine(entry.translation.line);
    if (Result<void> fits = fitsInABlock(*units); !fits) return fits.failure().onLine(entry.translation.line);
    changes.push_back({block.segmentNumber, std::move(*units)});
    return {};
}

class PoFormat final : public TextsFormat {
public:
    std::string write(std::string_view fileLabel, const std::vector<BlockText>& blocks) const override
    {
        std::string label = printableLabel(fileLabel);
        std::string out = poHeader(label);
        for (const BlockText& block : blocks) {
            std::string segment = std::to_string(block.segmentNumber);
            bool notation = needsNotation(block.units);
            out += "\n";
            if (notation) out += NotationNote;
            out += "#: " + label + ":" + segment + "\n";
            out += poStatement("msgctxt", segment);
            out += poStatement("msgid", poTextOfUnits(block.units, notation));
            out += "msgstr \"\"\n";
        }
        return out;
    }

    Result<TextChanges> read(std::string_view text, const std::vector<BlockText>& blocks) const override
    {
        NamedBlocks named(blocks);
        TextChanges changes;
        Result<void> read = forEachPoEntry(text,
                                           [&](const PoEntry& entry) { return takeEntry(entry, named, changes); });
        if (!read) return read.failure();
        return changes;
    }

    bool recognises(std::string_view text) const override { return startsWithPoEntry(text); }
};

}  // namespace

const TextsFormat& poTextsFormat()
{
    static const PoFormat format;
    return format;
}

}  // namespace quillet
