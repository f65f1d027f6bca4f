#include <algorithm>
#include <iostream>
#include <unistd.h>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/shown_text.h"
#include "model/hex.h"
#include "model/line_format.h"
#include "model/utf8.h"

namespace quillet::cli {

namespace {

void printLines(CheckedOutput& out, const Document& document)
{
    out << "[index]\n";
    for (std::size_t k = 0; k < document.indexTable.size() && out.writing(); ++k) out << document.indexLine(k) << "\n";
    out << "[segments]\n";
    // To a terminal a text's control characters show as escapes; to a pipe or a file the lines
    // stay exact.
    bool toTerminal = ::isatty(STDOUT_FILENO) == 1;
    for (std::size_t j = 0; j < document.segments.size() && out.writing(); ++j)
        out << (toTerminal ? withEscapedControls(document.segmentLine(j), true) : document.segmentLine(j)) << "\n";
}

void appendJsonEscape(std::string& out, char32_t ch)
{
    switch (ch) {
    case '"': out += "\\\""; break;
    case '\\': out += "\\\\"; break;
    case '\n': out += "\\n"; break;
    case '\r': out += "\\r"; break;
    case '\t': out += "\\t"; break;
    default: out += "\\u00"; appendHexByte(out, static_cast<std::uint8_t>(ch));
    }
}

bool needsJsonEscape(char32_t ch)
{
    return ch < 0x20 || ch == '"' || ch == '\\';
}

std::string jsonString(const std::string& utf8)
{
    std::string out = "\"";
    for (unsigned char ch : utf8) {
        if (needsJsonEscape(ch))
            appendJsonEscape(out, ch);
        else
            out += static_cast<char>(ch);
    }
    return out + "\"";
}

// A block's text, every unit as it is (the unit 0 too); only an unpaired surrogate, which JSON
// readers such as jq refuse, is given as U+FFFD ("data" holds its bytes).
std::string jsonText(const Segment& block)
{
    Bytes bytes = block.data.copy(0, block.data.size());  // a block holds 510 bytes at most
    std::u16string units = unitsOf(bytes.data(), bytes.size());
    std::string out = "\"";
    Utf16Walk walk(units);
    while (auto piece = walk.next()) {
        if (needsJsonEscape(piece->codePoint))
            appendJsonEscape(out, piece->codePoint);
        else
            appendUtf8(out, piece->loneSurrogate ? char32_t{0xFFFD} : piece->codePoint);
    }
    return out + "\"";
}

template <typename Number>
std::string jsonNumberOr(const std::optional<Number>& number, const char* otherwise)
{
    return number ? std::to_string(*number) : otherwise;
}

// What a script reads of a segment besides its line: its number in the list (from 1), the file
// positions of its first and last data byte (no last one when it has none), its index entry
// and a block's exact text.
std::string segmentFacts(const Document& document, std::size_t j)
{
    const Segment& segment = document.segments[j];
    auto start = static_cast<std::uint64_t>(document.dataStart(segment));
    std::optional<std::uint64_t> end;
    if (!segment.data.empty()) end = start + segment.data.size() - 1;
    return ", \"number\": " + std::to_string(j + 1) + ", \"start\": " + std::to_string(start) +
           ", \"end\": " + jsonNumberOr(end, "null") + ", \"tag\": " + jsonNumberOr(segment.tag, "null") +
           ", \"text\": " + (segment.isUnicode() ? jsonText(segment) : "null");
}

// The data of a segment as hex, a piece at a time: a raw file of a gigabyte is never held as
// two gigabytes of text.
void printHex(CheckedOutput& out, const SegmentBytes& data)
{
    constexpr std::size_t Piece = 1 << 16;
    std::string hex;
    for (std::size_t at = 0; at < data.size() && out.writing(); at += Piece) {
        hex.clear();
        for (std::size_t i = at; i < std::min(data.size(), at + Piece); ++i) appendHexByte(hex, data[i]);
        out << hex;
    }
}

void printJson(CheckedOutput& out, const Document& document)
{
    // The layout's version: a reader can tell what it gets, and a change that is not only an
    // added field gives a new number.
    out << "{\n  \"format\": 1,\n  \"no_index\": " << std::string(document.noIndex ? "true" : "false")
        << ",\n  \"index\": [";
    for (std::size_t k = 0; k < document.indexTable.size(); ++k)
        out << (k > 0 ? ", " : "") << std::to_string(document.indexTable[k]);
    out << "],\n  \"segments\": [";
    for (std::size_t j = 0; j < document.segments.size() && out.writing(); ++j) {
        const Segment& segment = document.segments[j];
        out << (j == 0 ? "\n    " : ",\n    ");
        out << "{\"kind\": \"" + std::string(segment.isUnicode() ? "unicode" : "data") + "\"";
        out << ", \"offset\": " + std::to_string(segment.offset);
        out << ", \"size\": " + std::to_string(segment.size());
        out << ", \"line\": " + jsonString(document.segmentLine(j));
        out << segmentFacts(document, j);
        out << ", \"data\": \"";
        printHex(out, segment.data);
        out << "\"}";
    }
    out << (document.segments.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

}  // namespace

int runList(const Arguments& args)
{
    if (args.operands.size() != 1) return usageError("list needs one FILE");
    auto document = loadOrReport(args.operands[0]);
    if (!document) return ExitFailure;
    CheckedOutput out(*document, args.operands[0]);
    if (args.has("--json"))
        printJson(out, *document);
    else
        printLines(out, *document);
    return checkedOutput(out.finish() ? ExitOk : ExitFailure);
}

int runCopy(const Arguments& args)
{
    if (args.operands.size() != 2) return usageError("copy needs IN and OUT");
    auto document = loadOrReport(args.operands[0]);
    if (!document) return ExitFailure;
    return saveOrReport(*document, args.operands[0], args.operands[1]) ? ExitOk : ExitFailure;
}

}  // namespace quillet::cli
