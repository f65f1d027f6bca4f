#include "app/editor.h"

#include <filesystem>
#include <new>

#include "app/recent_files.h"
#include "model/edit_operations.h"
#include "model/file_io.h"
#include "model/load_check.h"
#include "model/loader.h"
#include "model/save_target.h"
#include "model/saver.h"
#include "model/translated.h"

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
}  // namespace

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

bool Editor::loadFile(const std::string& fileName)
{
    commitTypedByte();
    if (!settleTyping()) return false;
    if (fileExists(fileName) && !confirmClose()) return false;
    resetGridSelection();
    state_.focus = FocusRequest::SegmentList;
    return openFromDisk(fileName);
}

// Loads without offering the open document for saving: it was offered, or the person chose to
// reload it.
bool Editor::openFromDisk(const std::string& fileName)
{
    commitTypedByte();  // the grid loses the focus while the old document is still current
    state_.textStripVisible = false;
    if (!fileExists(fileName)) return false;

    std::optional<Document> loaded;
    try {
        runOwnWork(filled(translated("Opening %1"), {fileNameOf(fileName)}),
                   [&](Progress& progress) { loaded = loadResource(fileName, progress); });
    } catch (const IoError& error) {
        // The document on screen stays whole: a file that cannot be read replaces nothing.
        showIoError(fileName + ": " + error.what());
    } catch (const std::bad_alloc&) {
        showIoError(
            filled(translated("%1: not enough memory to open it. The document on screen is kept."), {fileName}));
    } catch (const WorkCancelled&) {
    }
    if (!loaded) {
        if (currentSegment()) showSelectedSegment();
        return false;
    }
    openDocument(std::move(*loaded), fileName);
    rememberFile(fileName);
    return true;
}

void Editor::openDocument(Document document, const std::string& fileName)
{
    document_ = std::move(document);
    history_.clear();
    savedName_.clear();
    knownFile_ = document_.file ? document_.file : stampOfPath(fileName);
    watchingFile_ = knownFile_.has_value();
    changedSinceOpened_ = false;
    untoldChange_.reset();
    openedName_ = fileName;
    toldFileCutShort_ = false;
    state_.selectedSegment.reset();
    state_.selectedIndexLine.reset();
    state_.fileNamePanel = fileName;
    if (!document_.segments.empty()) {
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

std::optional<std::string> Editor::askSaveName()
{
    std::string suggested = documentPath();
    for (;;) {
        std::optional<std::string> name = prompts_.askSaveFileName(suggested);
        if (!name || !fileExists(*name)) return name;
        if (prompts_.askYesNo(
                MessageKind::Warning, translated("Confirm Save As"),
                filled(translated("%1 already exists.\nDo you want to replace it?"), {fileNameOf(*name)})))
            return name;
        suggested = *name;
    }
}

bool Editor::saveFileAs()
{
    commitTypedByte();                  // a byte typed just before saving belongs in the file
    if (!settleTyping()) return false;  // and so does a text typed just before
    std::optional<std::string> name = askSaveName();
    return name && saveTo(*name);
}

bool Editor::saveTo(const std::string& fileName)
{
    if (!checkFileOnDisk() || !confirmSaveOverChangedFile(fileName) || !confirmSaveOverLinkedFile(fileName))
        return false;
    try {
        runOwnWork(filled(translated("Saving %1"), {fileNameOf(fileName)}),
                   [&](Progress& progress) { saveResource(document_, fileName, progress); });
    } catch (const FileChangedWhileRead& error) {
        showIoError(fileNameOf(documentPath()) + " " + error.what());
        checkFileOnDisk();
        return false;
    } catch (const IoError& error) {
        showIoError(fileName + ": " + error.what());
        return false;
    } catch (const std::bad_alloc&) {
        showIoError(filled(translated("%1: not enough memory to save it. Nothing was written."), {fileName}));
        return false;
    } catch (const WorkCancelled&) {
        return false;
    }
    history_.markClean();
    savedName_ = fileName;
    knownFile_ = stampOfPath(fileName);
    watchingFile_ = knownFile_.has_value();
    changedSinceOpened_ = false;
    state_.fileNamePanel = fileName;
    rememberFile(fileName);
    tellIfFileCutShort();
    return true;
}

// A save gives the name a new file: the file's other names (hard links) keep the old content,
// which the person may not expect.
bool Editor::confirmSaveOverLinkedFile(const std::string& fileName)
{
    std::uint64_t names = namesOfSaveTarget(fileName);
    if (names < 2) return true;
    return prompts_.askYesNo(MessageKind::Warning, "File has several names",
                             severalNamesWarning(fileNameOf(fileName), names) + ". Save anyway?");
}

// A file held as a mapping may be cut short by another program while it is open; its lost
// bytes then read as 00. Told once, after the command that read them.
void Editor::tellIfFileCutShort()
{
    if (toldFileCutShort_ || !document_.fileCutShort()) return;
    toldFileCutShort_ = true;
    showRefusal(filled(translated("%1 changed on disk while it was open: another program cut it short. The bytes "
                                  "past its new end could not be read and show as 00. Save under a new name to keep "
                                  "the rest."),
                       {fileNameOf(openedName_)}));
}

// The file the document was last saved as, else the one it was opened from.
std::string Editor::documentPath() const
{
    return savedName_.empty() ? state_.fileNamePanel : savedName_;
}

std::string Editor::documentName() const
{
    return fileNameOf(documentPath());
}

// A modified document is offered for saving before it is closed or replaced; only a save that
// worked, or the person's Discard, lets it go.
bool Editor::confirmClose()
{
    commitTypedByte();
    if (!settleTyping()) return false;
    if (!isModified()) return true;
    std::string question = documentPath().empty()
                               ? translated("Save changes to the document?")
                               : filled(translated("Save changes to %1?"), {fileNameOf(documentPath())});
    switch (prompts_.askSaveChanges(question)) {
    case SaveChoice::Save: return saveFileAs();
    case SaveChoice::Discard: return true;
    case SaveChoice::Cancel: return false;
    }
    return false;
}

// Undo takes back the line's own typing first: the line then shows the block's text again.
void Editor::undo()
{
    commitTypedByte();
    if (lineHoldsTyping()) {
        discardTyping();
        return;
    }
    try {
        showUndoneChange(history_.undo(document_));
    } catch (const std::bad_alloc&) {
        showRefusal(translated("There is not enough memory to undo. Nothing was changed."));
    }
}

void Editor::redo()
{
    commitTypedByte();
    if (!settleTyping()) return;
    try {
        showUndoneChange(history_.redo(document_));
    } catch (const std::bad_alloc&) {
        showRefusal(translated("There is not enough memory to redo. Nothing was changed."));
    }
}

// After an undo or redo the segment the change touched is selected and shown.
void Editor::showUndoneChange(const Change* change)
{
    if (!change) return;
    std::optional<std::size_t> line = change->segment;
    if (document_.segments.empty()) {
        line.reset();
    } else if (line && *line >= document_.segments.size()) {
        line = document_.segments.size() - 1;
    }
    state_.selectedSegment = line;
    showSelectedSegment();
}

// A change of what a line shows alone leaves the file as it was: nothing to undo or save.
bool Editor::recordChange(Change&& change, std::optional<WrittenText> written)
{
    if (!changesFile(change)) return true;
    try {
        if (acceptsHowItLoads(change, written)) {
            history_.record(std::move(change));
            followChangeInTextLine();
            return true;
        }
    } catch (const std::bad_alloc&) {
        showRefusal(NoMemoryForChange);
    }
    // Not wanted, or no room to check or keep it: taken back rather than kept without its undo.
    undoChange(document_, change);
    return false;
}

// What the person sees is what the saved file loads as: an edit after which it would not is said,
// in the words of the load, before it stays.
bool Editor::acceptsHowItLoads(const Change& change, std::optional<WrittenText> written)
{
    std::optional<TouchedSegments> touched = touchedSegments(change);
    if (!touched) return true;
    std::vector<LoadDifference> differences = loadDifferences(document_, *touched);
    if (differences.empty()) return true;
    if (written) nameWritingCharacters(differences, written->start, written->units);
    std::string text;
    for (const LoadDifference& difference : differences)
        text += (text.empty() ? "" : "\n") + describeLoadDifference(difference);
    text += differences.size() == 1 ? std::string(" ") : std::string("\n\n");
    text += translated("Apply anyway?");
    return prompts_.askYesNo(MessageKind::Warning, translated("Warning"), text);
}

void Editor::commitTypedByte()
{
    if (!state_.gridEditor.open) return;
    GridEditorState closing = state_.gridEditor;
    state_.gridEditor = GridEditorState{};
    storeTypedByte(closing.text, closing.cell);
}

bool Editor::moveToSegment(std::optional<std::size_t> line)
{
    commitTypedByte();
    if (!settleTyping()) return false;
    state_.selectedSegment = line;
    showSelectedSegment();
    return true;
}

// Files are remembered by their full path, so that the list opens them from any folder.
void Editor::rememberFile(const std::string& fileName)
{
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(fileName, error);
    std::string path = error ? fileName : absolute.lexically_normal().string();
    recentFiles_ = withRecentFile(std::move(recentFiles_), path, RecentFilesKept);
}

void Editor::setRecentFiles(std::vector<std::string> files)
{
    if (files.size() > RecentFilesKept) files.resize(RecentFilesKept);
    recentFiles_ = std::move(files);
}

void Editor::openRecentFile(std::size_t index)
{
    if (index >= recentFiles_.size()) return;
    std::string path = recentFiles_[index];
    if (!fileExists(path)) {
        recentFiles_.erase(recentFiles_.begin() + static_cast<std::ptrdiff_t>(index));
        showIoError(filled(translated("%1: File not found. It was taken off the list of recent files."), {path}));
        return;
    }
    loadFile(path);
}

// While the editor works on the document or its file, the window may learn of changes to the
// file; the editor's own (a save replacing it) are none, and others are looked at afterwards.
void Editor::runOwnWork(const std::string& title, const std::function<void(Progress&)>& work)
{
    RaisedFlag paused(checksPaused_);
    prompts_.runLongWork(title, work);
}

void Editor::showAbout()
{
    prompts_.showAbout();
}

void Editor::showIoError(const std::string& text)
{
    prompts_.showMessage(MessageKind::Error, ProgramName, text);
}

void Editor::showRefusal(const std::string& text)
{
    prompts_.showMessage(MessageKind::Warning, translated("Warning"), text);
}

void Editor::setTextLine(const std::u16string& text)
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
