#include <cerrno>
#include <fcntl.h>
#include <iostream>
#include <new>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

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
    return checkedOutput(ExitOk);
}

// The translations: standard input for "-", else any file that can be read, a pipe such as
// <(msgmerge ...) included. Throws IoError.
std::string readTranslations(const std::string& path)
{
    if (path == StandardStream) {
        Bytes bytes = readInput(path);
        return {bytes.begin(), bytes.end()};
    }
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw ioErrorFromErrno();
    struct stat info {};
    try {
        if (::fstat(fd, &info) != 0) throw ioErrorFromErrno();
        if (S_ISDIR(info.st_mode)) throw IoError("Is a folder");
        Bytes bytes = readToEnd(fd);
        ::close(fd);
        return {bytes.begin(), bytes.end()};
    } catch (...) {
        ::close(fd);
        throw;
    }
}

// Reads the translations and gives the document their texts: what was read, or nothing when the
// import is refused (said on the error output).
std::optional<TextsCounts> applyTranslations(Document& document, const std::string& textsPath, EntriesNotFound notFound)
{
    try {
        Result<TextsRead> read = readTexts(readTranslations(textsPath), document, notFound);
        if (!read) {
            reportError(read.failure().placeIn(textsPath), read.failure().reason);
            return std::nullopt;
        }
        // Nothing is undone on the command line: the change is not kept.
        static_cast<void>(applyTexts(document, read->changes));
        return read->counts;
    } catch (const IoError& error) {
        reportError(textsPath, error.what());
    } catch (const EditRefused& refused) {
        reportError(textsPath, refused.what());
    } catch (const std::bad_alloc&) {
        // A pipe or device can hold more than memory does.
        reportError(textsPath, "not enough memory to read it; nothing was written");
    }
    return std::nullopt;
}

int importTexts(Document& document, const std::string& source, const std::string& textsPath, const std::string& out,
                EntriesNotFound notFound)
{
    std::optional<TextsCounts> counts = applyTranslations(document, textsPath, notFound);
    if (!counts) return ExitFailure;
    warnOfLoadDifferences(document, out);
    if (!saveOrReport(document, source, out)) return ExitFailure;
    // What was done, for the person and for scripts: "quillet-cli: TEXTS: 3 applied, ...".
    std::cerr << "quillet-cli: " << textsPath << ": " << summaryOf(*counts) << "\n";
    return ExitOk;
}

}  // namespace

int runTexts(const Arguments& arguments)
{
    const std::vector<std::string>& args = arguments.operands;
    if (args.empty() || (args[0] != "export" && args[0] != "import")) return usageError("texts needs export or import");
    bool exporting = args[0] == "export";
    if (args.size() != (exporting ? 2u : 4u))
        return usageError(exporting ? "texts export needs FILE" : "texts import needs FILE, TEXTS and OUT");
    if (exporting && arguments.has("--strict")) return usageError("texts: --strict is an option of texts import");
    const TextsFormatRow* format = formatOf(arguments);
    if (!format) return ExitUsage;
    auto document = loadOrReport(args[1]);
    if (!document) return ExitFailure;
    if (exporting) return exportTexts(*document, format->format, args[1]);
    EntriesNotFound notFound = arguments.has("--strict") ? EntriesNotFound::Refused : EntriesNotFound::Counted;
    return importTexts(*document, args[1], args[2], args[3], notFound);
}

}  // namespace quillet::cli
