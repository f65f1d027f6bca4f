#include <algorithm>
#include <iostream>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "model/hex.h"

namespace quillet::cli {

namespace {

void printLines(CheckedOutput& out, const Document& document)
{
    out << "[index]\n";
    for (std::size_t k = 0; k < document.indexTable.size(); ++k) out << document.indexLine(k) << "\n";
    out << "[segments]\n";
    for (std::size_t j = 0; j < document.segments.size(); ++j) out << document.segmentLine(j) << "\n";
}

std::string jsonString(const std::string& utf8)
{
    std::string out = "\"";
    for (unsigned char ch : utf8) {
        switch (ch) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (ch < 0x20) {
                out += "\\u00";
                appendHexByte(out, ch);
            } else {
                out += static_cast<char>(ch);
            }
        }
    }
    return out + "\"";
}

// The data of a segment as hex, a piece at a time: a raw file of a gigabyte is never held as
// two gigabytes of text.
void printHex(CheckedOutput& out, const SegmentBytes& data)
{
    constexpr std::size_t Piece = 1 << 16;
    std::string hex;
    for (std::size_t at = 0; at < data.size(); at += Piece) {
        hex.clear();
        for (std::size_t i = at; i < std::min(data.size(), at + Piece); ++i) appendHexByte(hex, data[i]);
        out << hex;
    }
}

void printJson(CheckedOutput& out, const Document& document)
{
    out << "{\n  \"no_index\": " << std::string(document.noIndex ? "true" : "false") << ",\n  \"index\": [";
    for (std::size_t k = 0; k < document.indexTable.size(); ++k)
        out << (k > 0 ? ", " : "") << std::to_string(document.indexTable[k]);
    out << "],\n  \"segments\": [";
    for (std::size_t j = 0; j < document.segments.size(); ++j) {
        const Segment& segment = document.segments[j];
        out << (j == 0 ? "\n    " : ",\n    ");
        out << "{\"kind\": \"" + std::string(segment.isUnicode() ? "unicode" : "data") + "\"";
        out << ", \"offset\": " + std::to_string(segment.offset);
        out << ", \"size\": " + std::to_string(segment.size());
        out << ", \"line\": " + jsonString(document.segmentLine(j));
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
    return out.finish() && std::cout.good() ? ExitOk : ExitFailure;
}

int runCopy(const Arguments& args)
{
    if (args.operands.size() != 2) return usageError("copy needs IN and OUT");
    auto document = loadOrReport(args.operands[0]);
    if (!document) return ExitFailure;
    return saveOrReport(*document, args.operands[0], args.operands[1]) ? ExitOk : ExitFailure;
}

}  // namespace quillet::cli
