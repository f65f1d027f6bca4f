#include <iostream>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "model/hex.h"

namespace quillet::cli {

namespace {

void printLines(const Document& document)
{
    std::string out = "[index]\n";
    for (std::size_t k = 0; k < document.indexTable.size(); ++k) {
        out += document.indexLine(k);
        out += '\n';
        if (out.size() > (1 << 20)) {
            std::cout << out;
            out.clear();
        }
    }
    out += "[segments]\n";
    for (std::size_t j = 0; j < document.segments.size(); ++j) {
        out += document.segmentLine(j);
        out += '\n';
        if (out.size() > (1 << 20)) {
            std::cout << out;
            out.clear();
        }
    }
    std::cout << out;
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

void printJson(const Document& document)
{
    std::string out = "{\n  \"no_index\": " + std::string(document.noIndex ? "true" : "false") + ",\n  \"index\": [";
    for (std::size_t k = 0; k < document.indexTable.size(); ++k) {
        if (k > 0) out += ", ";
        out += std::to_string(document.indexTable[k]);
        if (out.size() > (1 << 20)) {
            std::cout << out;
            out.clear();
        }
    }
    out += "],\n  \"segments\": [";
    for (std::size_t j = 0; j < document.segments.size(); ++j) {
        const Segment& segment = document.segments[j];
        out += j == 0 ? "\n    " : ",\n    ";
        out += "{\"kind\": \"" + std::string(segment.isUnicode() ? "unicode" : "data") + "\"";
        out += ", \"offset\": " + std::to_string(segment.offset);
        out += ", \"size\": " + std::to_string(segment.size());
        out += ", \"line\": " + jsonString(document.segmentLine(j));
        out += ", \"data\": \"";
        for (std::uint8_t byte : segment.data) appendHexByte(out, byte);
        out += "\"}";
        std::cout << out;
        out.clear();
    }
    out += document.segments.empty() ? "]\n}\n" : "\n  ]\n}\n";
    std::cout << out;
}

}  // namespace

int runList(const Arguments& args)
{
    if (args.operands.size() != 1) return usageError("list needs one FILE");
    auto document = loadOrReport(args.operands[0]);
    if (!document) return ExitFailure;
    if (args.has("--json"))
        printJson(*document);
    else
        printLines(*document);
    return std::cout.good() ? ExitOk : ExitFailure;
}

int runCopy(const Arguments& args)
{
    if (args.operands.size() != 2) return usageError("copy needs IN and OUT");
    auto document = loadOrReport(args.operands[0]);
    if (!document) return ExitFailure;
    return saveOrReport(*document, args.operands[1]) ? ExitOk : ExitFailure;
}

}  // namespace quillet::cli
