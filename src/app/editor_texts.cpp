#include "app/editor.h"

#include <algorithm>
#include <filesystem>

#include "model/document_texts.h"
#include "model/edit_operations.h"
#include "model/file_io.h"
#include "model/translated.h"

namespace quillet {

namespace {
// Translation tools read PO, so the dialogs offer it first; the others follow in the table's order.
constexpr std::string_view OfferedFirst = "po";

std::vector<const TextsFormatRow*> offeredFormats()
{
    std::vector<const TextsFormatRow*> formats;
    for (const TextsFormatRow& row : textsFormats()) formats.push_back(&row);
    std::stable_partition(formats.begin(), formats.end(),
                          [](const TextsFormatRow* format) { return format->name == OfferedFirst; });
    return formats;
}

std::vector<FileKind> fileKindsOf(const std::vector<const TextsFormatRow*>& formats)
{
    std::vector<FileKind> kinds;
    kinds.reserve(formats.size());
    for (const TextsFormatRow* format : formats)
        kinds.push_back({translated(std::string(format->fileKind).c_str()),
                         {format->extensions.begin(), format->extensions.end()}});
    return kinds;
}

// The name to write: a name typed without an extension takes the one of the kind chosen, or of
// the default format when all files were shown.
std::string nameToExport(const ChosenFile& chosen, const std::vector<const TextsFormatRow*>& offered)
{
    if (!extensionOf(chosen.name).empty()) return chosen.name;
    bool offeredKind = chosen.kind && *chosen.kind < offered.size();
    const TextsFormatRow& format = offeredKind ? *offered[*chosen.kind] : textsFormats().front();
    return chosen.name + std::string(format.extensions.front());
}
}  // namespace

void Editor::exportTexts()
{
    commitTypedByte();
    std::vector<const TextsFormatRow*> offered = offeredFormats();
    std::string suggested = state_.fileNamePanel.empty() ? ""
                                                         : std::filesystem::path(state_.fileNamePanel)
                                                               .replace_extension(offered.front()->extensions.front())
                                                               .string();
    std::optional<ChosenFile> chosen = prompts_.askTextsFileName(TextsFileUse::Export, suggested, fileKindsOf(offered));
    if (!chosen) return;
    std::string name = nameToExport(*chosen, offered);
    if (fileExists(name) &&
        !prompts_.askYesNo(MessageKind::Warning, translated("Confirm Export"),
                           filled(translated("%1 already exists.\nDo you want to replace it?"), {fileNameOf(name)})))
        return;
    try {
        std::string text = writeTexts(document_, textsFormatOfFileName(name).format, fileNameOf(state_.fileNamePanel));
        AtomicFileWriter file(name);
        file.write(text.data(), text.size());
        file.commit();
    } catch (const IoError& error) {
        showIoError(name + ": " + error.what());
        return;
    }
    state_.messagePanel = filled(translated("Texts exported to %1."), {fileNameOf(name)});
}

void Editor::importTexts()
{
    commitTypedByte();
    if (!settleTyping()) return;
    std::optional<ChosenFile> chosen = prompts_.askTextsFileName(TextsFileUse::Import, "",
                                                                 fileKindsOf(offeredFormats()));
    if (!chosen) return;
    // What an earlier import did no longer holds: a refused one must not seem to have applied it.
    state_.messagePanel.clear();
    const std::string& name = chosen->name;
    Bytes bytes;
    try {
        bytes = readWholeFile(name);
    } catch (const IoError& error) {
        showIoError(name + ": " + error.what());
        return;
    }
    Result<TextsRead> read = readTexts(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                                       document_);
    if (!read) {
        const Failure& failure = read.failure();
        showIoError(failure.placeIn(fileNameOf(name)) + ": " + failure.reason + "\n" +
                    translated("Nothing was changed."));
        return;
    }
    // The status bar says what was done, as the command line does on its error output.
    if (applyTexts(read->changes)) state_.messagePanel = fileNameOf(name) + ": " + summaryOf(read->counts);
}

bool Editor::applyTexts(const std::vector<TextChange>& texts)
{
    commitTypedByte();
    if (!settleTyping()) return false;
    bool done = editDocument([&] { return quillet::applyTexts(document_, texts); });
    if (done && currentSegment()) showSelectedSegment();
    return done;
}

}  // namespace quillet
