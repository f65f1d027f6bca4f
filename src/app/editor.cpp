#include "app/editor.h"

#include "model/file_io.h"
#include "model/loader.h"
#include "model/saver.h"

namespace quillet {

namespace {
const std::string ProgramName = "Quillet";
}

Editor::Editor(Prompts& prompts, CodePage codePage) : prompts_(prompts), codePage_(std::move(codePage)) {}

const TResource* Editor::currentSegment() const
{
    if (!state_.ListBox1ItemIndex || *state_.ListBox1ItemIndex >= document_.Segments.size()) return nullptr;
    return &document_.Segments[*state_.ListBox1ItemIndex];
}

void Editor::FormActivate(const std::optional<std::string>& firstArgument)
{
    document_.NoIndex = false;
    state_.ForceMode = false;
    resetGridSelection();
    if (firstArgument && fileExists(*firstArgument)) OpenRSC(*firstArgument);
}

void Editor::OpenRSC(const std::string& fileName)
{
    resetGridSelection();
    state_.Focus = FocusRequest::ListBox1;
    handOverGridEditor();  // the grid loses the focus while the old document is still current
    state_.Panel3Visible = false;
    if (!fileExists(fileName)) return;

    Document loaded;
    try {
        loaded = loadResource(fileName, codePage_);
    } catch (const IoError& error) {
        // The document on screen stays whole: a file that cannot be read replaces nothing.
        showIoError(error.what());
        if (currentSegment()) ListBox1Click();
        return;
    }
    document_ = std::move(loaded);
    state_.ListBox1ItemIndex.reset();
    state_.ListBoxPageItemIndex.reset();
    state_.StatusPanel0 = fileName;
    if (!document_.SegmentLines.empty()) {
        state_.ListBox1ItemIndex = 0;
        ListBox1Click();
    }
    if (document_.NoIndex) resetGridSelection();
}

void Editor::ToolButton1Click()
{
    if (auto name = prompts_.askOpenFileName()) OpenRSC(*name);
}

void Editor::ToolButton2Click()
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

void Editor::About1Click()
{
    prompts_.showAbout();
}

void Editor::showIoError(const std::string& text)
{
    prompts_.showMessage(MessageKind::Error, ProgramName, text);
}

void Editor::setEdit1Text(const std::string& text)
{
    if (text == state_.Edit1Text) return;
    state_.Edit1Text = text;
    Edit1Change();
}

void Editor::setRowCount(std::int64_t rows)
{
    state_.RowCount = rows;
    if (state_.Current.Row > rows - 1) setCurrentCell({rows - 1, state_.Current.Col});
}

FocusRequest Editor::takeFocusRequest()
{
    FocusRequest request = state_.Focus;
    state_.Focus = FocusRequest::None;
    return request;
}

}  // namespace quillet
