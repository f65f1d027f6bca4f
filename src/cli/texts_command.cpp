#include <iostream>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "model/document_texts.h"
#include "model/edit_operations.h"
#include "model/file_io.h"

namespace quillet::cli {

namespace {

// "--po" or "--format po|tsv"; the TAB format by default.
std::optional<TextsFormat> formatOf(const Arguments& args)
{
    std::optional<std::string> named = args.value("--format");
    if (args.has("--po")) {
        if (named && *named != "po") {
            usageError("texts: --po and --format " + *named + " disagree");
            return std::nullopt;
        }
        return TextsFormat::Po;
    }
    if (!named || *named == "tsv") return TextsFormat::Tsv;
    if (*named == "po") return TextsFormat::Po;
    usageError("texts: unknown format '" + *named + "', expected tsv or po");
    return std::nullopt;
}

int exportTexts(const Document& document, TextsFormat format, const std::string& path)
{
    std::cout << writeTexts(document, format, fileNameOf(path));
    return std::cout.good() ? ExitOk : ExitFailure;
}

int importTexts(Document& document, const std::string& source, const std::string& textsPath, const std::string& out)
{
    Bytes bytes;
    try {
        bytes = readWholeFile(textsPath);
    } catch (const IoError& error) {
        reportError(textsPath, error.what());
        return ExitFailure;
    }
    TextsReading reading = readTexts(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                                     document);
    if (reading.error) {
        std::string where = reading.error->line > 0 ? textsPath + ":" + std::to_string(reading.error->line) : textsPath;
        reportError(where, reading.error->reason);
        return ExitFailure;
    }
    try {
        // Nothing is undone on the command line: the change is not kept.
        static_cast<void>(applyTexts(document, reading.changes));
    } catch (const EditRefused& refused) {
        reportError(textsPath, refused.what());
        return ExitFailure;
    }
    return saveOrReport(document, source, out) ? ExitOk : ExitFailure;
}

}  // namespace

int runTexts(const Arguments& arguments)
{
    const std::vector<std::string>& args = arguments.operands;
    if (args.empty() || (args[0] != "export" && args[0] != "import")) return usageError("texts needs export or import");
    bool exporting = args[0] == "export";
    if (args.size() != (exporting ? 2u : 4u))
        return usageError(exporting ? "texts export needs FILE" : "texts import needs FILE, TEXTS and OUT");
    std::optional<TextsFormat> format = formatOf(arguments);
    if (!format) return ExitUsage;
    auto document = loadOrReport(args[1]);
    if (!document) return ExitFailure;
    if (exporting) return exportTexts(*document, *format, args[1]);
    return importTexts(*document, args[1], args[2], args[3]);
}

}  // namespace quillet::cli
