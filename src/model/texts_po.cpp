#include <algorithm>

#include "model/hex.h"
#include "model/po_syntax.h"
#include "model/segment.h"
#include "model/texts_formats.h"
#include "model/texts_po_keys.h"
#include "model/texts_po_notation.h"
#include "model/texts_reading.h"
#include "model/translated.h"
#include "model/utf8.h"

// gettext PO.
//
// The export is a PO file with a header entry and one entry per block with a text, in file
// order:
//
//     #. segment 4, at file position 0012
//     #: sample.rsc:4
//     msgid "the block's text"
//     msgstr ""
//
// The msgid is the key (texts_po_keys.h): a text that stands more than once gets a msgctxt
// "occurrence K of N". The comments are hints for the translator, as translation tools show
// them; nothing reads them back. Texts a PO string cannot carry are written in a notation
// (texts_po_notation.h).
//
// The import applies an entry to the block whose current text is its msgid and whose context
// its msgctxt names; an entry that is fuzzy or has an empty msgstr is counted and passed over,
// one of a text the file does not have is counted as not found. The header is checked, never
// applied. A text is a PO file when its first line that is neither blank nor a comment starts
// with a PO keyword.
//
// Files written before the text was the key have the segment number as msgctxt, which the
// export never writes now (its contexts hold letters). Such an entry goes to the block at that
// number when the file still has every such entry's text at its number: the PO was made from
// this file. When one has moved, the numbers belong to another version of the file and tell
// nothing: the entry is matched by its text alone, and one whose text stands more than once is
// not found, rather than given to a copy the number no longer names.
//
// The PO reader is written here rather than taken from gettext's libgettextpo, which cannot meet
// this contract: its messages carry no line number in the PO file (po_filepos_t holds the "#:"
// references), so an entry could not be named by its line; a "\0" in a string silently cuts the
// string short; a UTF-8 byte order mark is a syntax error; it reads only from a named file; and
// on a fatal error or when memory runs out it ends the process or needs a handler that never
// returns. gettext's tools check this reader in the tests.
namespace quillet {

namespace {

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
                      "# Each msgid is a block's text. A text that stands more than once has a\n"
                      "# msgctxt that tells which of them it is. A translation holds at most " +
                      std::to_string(MaxBlockCharacters) +
                      "\n"
                      "# UTF-16 units; an empty msgstr leaves its block as it is.\n"
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

std::string entryOf(const PoKey& key, const std::string& label)
{
    std::string segment = std::to_string(key.block->segmentNumber);
    std::string out = "\n";
    if (key.notation) out += NotationNote;
    out += "#. segment " + segment + ", at file position " +
           hexUpper(static_cast<std::uint64_t>(key.block->position), 4) + "\n";
    out += "#: " + label + ":" + segment + "\n";
    if (key.context) out += poStatement("msgctxt", *key.context);
    out += poStatement("msgid", key.id);
    out += "msgstr \"\"\n";
    return out;
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

bool isHeader(const PoEntry& entry)
{
    return !entry.context && entry.id.text.empty();
}

// A msgctxt of the export made before the text was the key: a segment number.
std::optional<std::size_t> oldSegmentNumber(const PoEntry& entry)
{
    if (!entry.context) return std::nullopt;
    const std::string& context = entry.context->text;
    if (context.empty() || context.size() > 9 || context.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoul(context);
}

// Whether every entry that names a segment by its number finds its text there.
bool numbersHold(const std::vector<PoEntry>& entries, const PoKeys& keys)
{
    return std::all_of(entries.begin(), entries.end(), [&](const PoEntry& entry) {
        std::optional<std::size_t> number = oldSegmentNumber(entry);
        const PoKey* key = number ? keys.atSegment(*number) : nullptr;
        return !number || (key != nullptr && key->id == entry.id.text);
    });
}

// Finds the blocks the entries of a PO file name.
class EntryMatcher {
public:
    EntryMatcher(const std::vector<PoEntry>& entries, const PoKeys& keys)
        : keys_(keys), numbersHold_(numbersHold(entries, keys))
    {}

    // The entry's block, or why there is none.
    Result<const PoKey*> blockOf(const PoEntry& entry) const
    {
        std::optional<std::size_t> number = oldSegmentNumber(entry);
        if (number && numbersHold_) return keys_.atSegment(*number);
        const PoKey* key = keys_.find(number ? std::nullopt : contextOf(entry), entry.id.text);
        if (key != nullptr) return key;
        std::size_t copies = keys_.copiesOf(entry.id.text);
        if (copies == 0) return Failure{"msgid is not a text of the resource file", entry.id.line};
        if (number)
            return Failure{"msgid stands " + std::to_string(copies) + " times in the resource file, and msgctxt \"" +
                               entry.context->text +
                               "\", a segment number of an older export for another version of it, "
                               "does not tell which",
                           entry.context->line};
        return Failure{"msgctxt names no text of the resource file with this msgid (it stands " +
                           std::to_string(copies) + (copies == 1 ? " time)" : " times)"),
                       entry.context ? entry.context->line : entry.id.line};
    }

private:
    static std::optional<std::string> contextOf(const PoEntry& entry)
    {
        return entry.context ? std::optional<std::string>(entry.context->text) : std::nullopt;
    }

    const PoKeys& keys_;
    bool numbersHold_;
};

// The line an entry starts on.
std::size_t firstLineOf(const PoEntry& entry)
{
    return entry.context ? entry.context->line : entry.id.line;
}

// Counts one entry of a block and adds the change it asks for.
Result<void> takeEntry(const PoEntry& entry, const PoKey& key, NamedBlocks& named, TextsRead& read)
{
    std::size_t segment = key.block->segmentNumber;
    if (entry.plural)
        return Failure{"segment " + std::to_string(segment) + " is named by a plural entry, which cannot hold its text",
                       firstLineOf(entry)};
    if (Result<void> first = named.name(segment, firstLineOf(entry)); !first) return first.failure();
    TextsCounts& counts = read.counts;
    if (entry.fuzzy) {
        ++counts.fuzzy;
        return {};
    }
    if (entry.translation.text.empty()) {
        ++counts.untranslated;
        return {};
    }
    Result<std::u16string> units = unitsOfPoText(entry.translation.text, key.notation);
    if (!units) return units.failure().onLine(entry.translation.line);
    if (Result<void> fits = fitsInABlock(*units); !fits) return fits.failure().onLine(entry.translation.line);
    ++counts.applied;
    read.changes.push_back({segment, std::move(*units)});
    return {};
}

// The entries that can name a block, in file order; the header is checked on the way.
Result<std::vector<PoEntry>> entriesOf(std::string_view text)
{
    std::vector<PoEntry> entries;
    Result<void> read = forEachPoEntry(text, [&](const PoEntry& entry) -> Result<void> {
        if (isHeader(entry)) return checkHeader(entry);
        // No block with a text has an empty msgid: such an entry is an empty text of an older
        // export, or a copy of the header, and is never applied.
        if (!entry.id.text.empty()) entries.push_back(entry);
        return {};
    });
    if (!read) return read.failure();
    return entries;
}

class PoFormat final : public TextsFormat {
public:
    std::string write(std::string_view fileLabel, const std::vector<BlockText>& blocks) const override
    {
        std::string label = printableLabel(fileLabel);
        std::string out = poHeader(label);
        PoKeys keys(blocks);
        for (const PoKey& key : keys.all()) out += entryOf(key, label);
        return out;
    }

    Result<TextsRead> read(std::string_view text, const std::vector<BlockText>& blocks) const override
    {
        if (Result<void> utf8 = notUtf16(text); !utf8) return utf8.failure();
        Result<std::vector<PoEntry>> entries = entriesOf(text);
        if (!entries) return entries.failure();
        PoKeys keys(blocks);
        EntryMatcher matcher(*entries, keys);
        NamedBlocks named(blocks);
        TextsRead read;
        read.counts.hasUnapplied = true;
        for (const PoEntry& entry : *entries) {
            Result<const PoKey*> key = matcher.blockOf(entry);
            if (!key) {
                ++read.counts.notFound;
                if (!read.counts.firstNotFound) read.counts.firstNotFound = key.failure();
            } else if (Result<void> taken = takeEntry(entry, **key, named, read); !taken) {
                return taken.failure();
            }
        }
        return someEntryFound(std::move(read), entries->size());
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
