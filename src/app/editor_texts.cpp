#include "app/editor.h"

#include <cctype>
#include <filesystem>

#include "model/document_texts.h"
#include "model/edit_operations.h"
#include "model/file_io.h"

namespace quillet {

namespace {
// A name ending in .po or .pot is a PO file; anything else gets the TAB format.
TextsFormat formatOfName(const std::string& name)
{
    std::string extension = std::filesystem::path(name).extension().string();
    for (char& ch : extension) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return extension == ".po" || extension == ".pot" ? TextsFormat::Po : TextsFormat::Tsv;
}
}  // namespace

void Editor::exportTexts()
{
    commitTypedByte();
    std::string suggested = state_.fileNamePanel.empty()
                                ? ""
                                : std::filesystem::path(state_.fileNamePanel).replace_extension(".po").string();
    std::optional<std::string> name = prompts_.askTextsFileName(TextsFileUse::Export, suggested);
    if (!name) return;
    if (fileExists(*name) && !prompts_.askYesNo(MessageKind::Warning, "Confirm Export",
                                                fileNameOf(*name) + " already exists.\nDo you want to replace it?"))
        return;
    try {
        std::string text = writeTexts(document_, formatOfName(*name), fileNameOf(state_.fileNamePanel));
        AtomicFileWriter file(*name);
        file.write(text.data(), text.size());
        file.commit();
    } catch (const IoError& error) {
        showIoError(*name + ": " + error.what());
    }
}

void Editor::importTexts()
{
    commitTypedByte();
    std::optional<std::string> name = prompts_.askTextsFileName(TextsFileUse::Import, "");
    if (!name) return;
    Bytes bytes;
    try {
        bytes = readWholeFile(*name);
    } catch (const IoError& error) {
        showIoError(*name + ": " + error.what());
        return;
    }
    TextsReading reading = readTexts(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                                     document_);
    if (reading.error) {
        std::string where = fileNameOf(*name) +
                            (reading.error->line > 0 ? ":" + std::to_string(reading.error->line) : "");
        showIoError(where + ": " + reading.error->reason + "\nNothing was changed.");
        return;
    }
    applyTexts(reading.changes);
}

bool Editor::applyTexts(const std::vector<TextChange>& texts)
{
    commitTypedByte();
    bool done = editDocument([&] { return quillet::applyTexts(document_, texts); });
    if (done && currentSegment()) showSelectedSegment();
    return done;
}

}  // namespace quillet
