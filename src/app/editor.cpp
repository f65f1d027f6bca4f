#include "app/editor.h"

#include <filesystem>

#include "model/file_io.h"
#include "model/loader.h"
#include "model/saver.h"

namespace quillet {

namespace {
const std::string ProgramName = "Quillet";

// The folder that holds the file, empty for no name; a bare name lies in the working folder.
std::string folderOf(const std::string& fileName)
{
    if (fileName.empty()) return {};
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(fileName, error);
    return (error ? std::filesystem::path(fileName) : absolute).parent_path().string();
}
}

Editor::Editor(Prompts& prompts, CodePage codePage) : prompts_(prompts), codePage_(std::move(codePage)) {}

const Segment* Editor::currentSegment() const
{
    if (!state_.selectedSegment || *state_.selectedSegment >= document_.segments.size()) return nullptr;
    return &document_.segments[*state_.selectedSegment];
}

void Editor::activate(const std::optional<std::string>& firstArgument)
{
    document_.noIndex = false;
    state_.forceMode = false;
    resetGridSelection();
    if (firstArgument && fileExists(*firstArgument)) loadFile(*firstArgument);
}

void Editor::loadFile(const std::string& fileName)
{
    resetGridSelection();
    state_.focus = FocusRequest::SegmentList;
    handOverGridEditor();  // the grid loses the focus while the old document is still current
    state_.textStripVisible = false;
    if (!fileExists(fileName)) return;

    Document loaded;
    try {
        loaded = loadResource(fileName, codePage_);
    } catch (const IoError& error) {
        // The document on screen stays whole: a file that cannot be read replaces nothing.
        showIoError(error.what());
        if (currentSegment()) showSelectedSegment();
        return;
    }
    document_ = std::move(loaded);
    state_.selectedSegment.reset();
    state_.selectedIndexLine.reset();
    state_.fileNamePanel = fileName;
    if (!document_.segmentLines.empty()) {
        state_.selectedSegment = 0;
        showSelectedSegment();
    }
    if (document_.noIndex) resetGridSelection();
}

void Editor::openFile()
{
    // The dialog starts in the folder of the file that is open, if any.
    if (auto name = prompts_.askOpenFileName(folderOf(state_.fileNamePanel))) loadFile(*name);
}

void Editor::saveFileAs()
{
    handOverGridEditor();  // a byte typed just before saving belongs in the file
    auto name = prompts_.askSaveFileName();
    if (!name) return;
    try {
        saveResource(document_, *name);
    } catch (const IoError& error) {
        showIoError(error.what());
    }
}

void Editor::showAbout()
{
    prompts_.showAbout();
}

void Editor::showIoError(const std::string& text)
{
    prompts_.showMessage(MessageKind::Error, ProgramName, text);
}

void Editor::setTextLine(const std::string& text)
{
    if (text == state_.textLine) return;
    state_.textLine = text;
    updateCharacterCounter();
}

void Editor::setRowCount(std::int64_t rows)
{
    state_.rowCount = rows;
    if (state_.current.row > rows - 1) setCurrentCell({rows - 1, state_.current.col});
}

FocusRequest Editor::takeFocusRequest()
{
    FocusRequest request = state_.focus;
    state_.focus = FocusRequest::None;
    return request;
}

}  // namespace quillet
