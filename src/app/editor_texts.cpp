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
    Result<TextChanges> changes = readTexts(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                                            document_);
    if (!changes) {
        const Failure& failure = changes.failure();
        showIoError(failure.placeIn(fileNameOf(*name)) + ": " + failure.reason + "\nNothing was changed.");
        return;
    }
    std::vector<std::pair<std::size_t, std::u16string>> texts;
    for (const TextChange& change : *changes) texts.emplace_back(change.segmentNumber - 1, change.units);
    applyTexts(texts);
}

bool Editor::applyTexts(const std::vector<std::pair<std::size_t, std::u16string>>& texts)
{
    commitTypedByte();
    std::optional<std::size_t> first;
    if (!texts.empty()) first = texts.front().first;
    bool done = editDocument(first, [&](Change& change) {
        for (const auto& [segment, units] : texts) {
            if (segment >= document_.segments.size() || !document_.segments[segment].isUnicode())
                throw EditRefused("Segment " + std::to_string(segment + 1) +
                                  " is not a unicode block. Nothing was changed.");
            applyUnicodeText(document_, segment, units, change);
        }
    });
    if (done && currentSegment()) showSelectedSegment();
    return done;
}

}  // namespace quillet
