#include <iostream>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "model/document_texts.h"
#include "model/edit_operations.h"
#include "model/file_io.h"

namespace quillet::cli {

namespace {

// The names of the formats, as a person lists them: "a, b or c".
std::string formatNames()
{
    const std::vector<TextsFormatRow>& rows = textsFormats();
    std::string names;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i > 0) names += i + 1 == rows.size() ? " or " : ", ";
        names += rows[i].name;
    }
    return names;
}

// "--format NAME", or "--po", which scripts know from before --format; the first format of the
// table by default.
const TextsFormatRow* formatOf(const Arguments& args)
{
    std::optional<std::string> named = args.value("--format");
    if (args.has("--po")) {
        if (named && *named != "po") {
            usageError("texts: --po and --format " + *named + " disagree");
            return nullptr;
        }
        named = "po";
    }
    if (!named) return &textsFormats().front();
    const TextsFormatRow* format = textsFormatNamed(*named);
    if (!format) usageError("texts: unknown format '" + *named + "', expected " + formatNames());
    return format;
}

int exportTexts(const Document& document, const TextsFormat& format, const std::string& path)
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
    Result<TextChanges> changes = readTexts(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                                            document);
    if (!changes) {
        reportError(changes.failure().placeIn(textsPath), changes.failure().reason);
        return ExitFailure;
    }
    try {
        // Nothing is undone on the command line: the change is not kept.
        static_cast<void>(applyTexts(document, *changes));
    } catch (const EditRefused& refused) {
        reportError(textsPath, refused.what());
        return ExitFailure;
    }
    warnOfLoadDifferences(document, out);
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
    const TextsFormatRow* format = formatOf(arguments);
    if (!format) return ExitUsage;
    auto document = loadOrReport(args[1]);
    if (!document) return ExitFailure;
    if (exporting) return exportTexts(*document, format->format, args[1]);
    return importTexts(*document, args[1], args[2], args[3]);
}

}  // namespace quillet::cli
