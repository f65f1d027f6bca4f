#pragma once
#include <cstdint>
#include <functional>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/prompts.h"
#include "model/codepage.h"
#include "model/document.h"
#include "model/edit_history.h"
#include "model/edit_operations.h"
#include "search/search_fields.h"
#include "views/grid_selection.h"
#include "views/view_ports.h"

namespace quillet {

enum class FocusRequest { None, SegmentList, TextLine, Grid };

// The state of the main window's widgets that the program's rules read and write. The window
// shows it after every command and reports the person's actions back to the Editor.
struct WindowState {
    std::optional<std::size_t> selectedSegment;  // the current segment
    std::optional<std::size_t> selectedIndexLine;
    std::u16string textLine;  // exactly the units of the text it shows
    // Counts the program's fills of the text line: typing the line had before a fill is no
    // longer its own to undo.
    std::uint64_t textLineFills = 0;
    int textLineMaxLength = 128;  // in UTF-16 units; 0: no limit
    bool textStripVisible = false;
    std::string fileNamePanel;  // the document's file (opened or last saved as), as the file system spells it
    std::string messagePanel;   // UTF-8
    std::int64_t rowCount = 2;
    GridCell current{1, 1};
    GridSelection selection;
    GridEditorState gridEditor;
    bool forceMode = false;
    FocusRequest focus = FocusRequest::None;  // taken and cleared by the window
};

// The most characters the text line holds, as text fields do: a forced run shows at most this
// many, since a segment of a hundred million characters would freeze the window.
constexpr std::size_t TextLineCapacity = 32767;
// The files the File menu offers again, the last opened or saved first.
constexpr std::size_t RecentFilesKept = 8;

// The main window's rules: the document, its undo history, the widget state and every command.
// It talks to the person only through Prompts, and to the views through their ports.
class Editor final : public DocumentSource, public GridPort {
public:
    Editor(Prompts& prompts, CodePage codePage);

    const Document& document() const { return document_; }
    const WindowState& state() const { return state_; }
    const CodePage& codePage() const override { return codePage_; }
    FindFields& findFields() { return findFields_; }
    ReplaceFields& replaceFields() { return replaceFields_; }
    // The selected segment, or nothing.
    const Segment* currentSegment() const;
    // The document as the views may read it: nothing while long work writes it.
    const Document* shownDocument() const override { return busy_ ? nullptr : &document_; }

    // Start-up and files
    void activate(const std::optional<std::string>& firstArgument);
    // Loads a file; a modified document is first offered for saving. False when nothing was loaded.
    bool loadFile(const std::string& fileName);
    void openFile();
    // Makes a document read elsewhere (or made by a test) the open one, with a fresh history.
    void openDocument(Document document, const std::string& fileName);
    // Asks for a name and saves; true when the document was written.
    bool saveFileAs();
    // Whether the document may be closed or replaced: a modified one is first offered for saving,
    // and only a save that worked, or the person's Discard, lets it go.
    bool confirmClose();
    bool isModified() const { return !history_.isClean(); }
    // Whether the person has work that is not in the file: a modified document, or text typed
    // in the text line and not applied. The title shows a "*" for it.
    bool showsUnsavedWork() const { return isModified() || lineHoldsTyping(); }
    // The file the document was last saved as, else the one it was opened from; and its name,
    // as the title and the status bar show it (empty for none).
    std::string documentPath() const;
    std::string documentName() const;
    // The files opened or saved lately, newest first, as the program's settings keep them.
    const std::vector<std::string>& recentFiles() const { return recentFiles_; }
    void setRecentFiles(std::vector<std::string> files);
    // Opens one of them (through the unsaved-work guard); one that is gone leaves the list.
    void openRecentFile(std::size_t index);
    // Tells the person, once per document, that another program cut the open file short on
    // disk, so that its lost bytes read as 00. Runs after the commands that read the bytes.
    void tellIfFileCutShort();

    // Files other programs change
    // Whether another program changed, replaced or removed the document's file since it was
    // opened, saved, or last looked at.
    bool fileChangedOnDisk() const;
    // Looks at once: a change is told, and the person chooses between reloading the file and
    // keeping the document. Runs before a save and each long job, and whenever the window learns
    // that the file changed; not during the editor's own work on the file. False when the file
    // was reloaded, so that the command that looked goes no further.
    bool checkFileOnDisk();
    // The first half of the look, for a window that shows the document as the change leaves it
    // before it asks: true when there is a change to tell, which checkFileOnDisk then tells.
    bool noticeFileChange();

    // Undo and redo
    bool canUndo() const { return history_.canUndo(); }
    bool canRedo() const { return history_.canRedo(); }
    void undo();
    void redo();
    const EditHistory& history() const { return history_; }

    // Lists
    void selectSegment(std::size_t line);    // the person picked a line of the segment list
    void selectIndexLine(std::size_t line);  // the person picked a line of the index list
    void showSelectedSegment();
    bool followIndexLine();  // false when the person chose to stay (see settleTyping)
    void previousSegment();
    void nextSegment();

    // Hex grid: what the person does, and the grid's own events
    std::int64_t rowCount() const override { return state_.rowCount; }
    GridCell currentCell() const override { return state_.current; }
    const GridSelection& gridSelection() const override { return state_.selection; }
    const GridEditorState& gridEditor() const override { return state_.gridEditor; }
    std::optional<ShownSegment> shownSegment() const override;
    void gridTypeCharacter(const std::string& character) override;
    void gridEditKey() override;
    void gridEditorTextChanged(const std::string& text) override;
    void gridEditorEscape() override;
    void gridMoveCurrent(GridCell cell) override;
    void gridMousePress(MouseButton button, GridCell cellUnderPointer) override;
    void gridMouseRelease(MouseButton button, GridCell cellUnderPointer, bool gridHasFocus) override;
    void gridFocusLost() override;
    bool canEditColumn(int col) const override;
    void advanceAfterTwoDigits(const std::string& text);
    void storeTypedByte(const std::string& text, GridCell cell);
    void gridClicked();
    void copyHex();

    // text line editor. `cutAtLimit`: a paste was cut to the line's typing limit.
    void textLineEdited(const std::u16string& text, bool cutAtLimit = false);
    // Whether the line holds text the person typed and did not apply. Undo and redo belong to
    // the line's own typing then, and to the document otherwise.
    bool lineHoldsTyping() const;
    void updateCharacterCounter();
    void applyTextLine();

    // Editing commands
    void deleteCurrentSegment();
    void forceUnicode();

    // The body cut again from its bytes, as opening the saved file would: one change.
    void readSegmentsAgain();

    // Find and replace
    void find();
    void findNext();
    void replace();
    void searchForward(bool fromSegmentStart);
    void replaceAll(bool fromBeginning);

    // Translators' files: every block's text written to a PO or TAB file, or read back from one
    // as one change. applyTexts gives blocks new texts as one change (segment index, units);
    // nothing changes when one of them is refused.
    void exportTexts();
    void importTexts();
    bool applyTexts(const std::vector<TextChange>& texts);

    void showAbout();

    // Program-side changes of widget state, with the side effects the window's toolkit has.
    void setTextLine(const std::u16string& text);  // runs the counter when the text changes
    void setRowCount(std::int64_t rows);           // keeps the current cell inside the grid
    void setCurrentCell(GridCell cell);            // hands over an open editor, then clicks
    void resetGridSelection() { state_.selection = GridSelection{}; }
    FocusRequest takeFocusRequest();

private:
    // A flag of the editor raised for as long as the value lives.
    class RaisedFlag {
    public:
        explicit RaisedFlag(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
        ~RaisedFlag() { flag_ = was_; }
        RaisedFlag(const RaisedFlag&) = delete;
        RaisedFlag& operator=(const RaisedFlag&) = delete;

    private:
        bool& flag_;
        bool was_;
    };

    // Every change of the current segment or of the document goes through these: a byte typed
    // in the grid is first stored in the segment it was typed in.
    void commitTypedByte();
    // False when the person chose to stay where they were (see settleTyping).
    bool moveToSegment(std::optional<std::size_t> line);
    // Text typed in the line and not applied is unsaved work: before a command would drop it,
    // the person chooses to apply it, discard it or cancel the command. True when the command
    // may go on.
    bool settleTyping();
    void discardTyping();
    std::string typingQuestion() const;
    // After a change of the document, the line shows the current block's new text (unless it
    // holds typing of its own).
    void followChangeInTextLine();
    void rememberFile(const std::string& fileName);
    // A text an edit writes into data at a file position, to name its characters when their
    // bytes make a marker.
    struct WrittenText {
        std::int64_t start = 0;
        std::u16string_view units;
    };
    // Runs an edit operation and records its change for undo. A refused edit or a lack of memory
    // is reported; the operation has then left the document as it was. An edit whose saved file
    // would load back otherwise than shown is asked about first, and taken back unless the person
    // agrees. True when it was done.
    template <typename Edit>
    bool editDocument(Edit&& edit, std::optional<WrittenText> written = std::nullopt);
    bool recordChange(Change&& change, std::optional<WrittenText> written);
    bool acceptsHowItLoads(const Change& change, std::optional<WrittenText> written);

    bool saveTo(const std::string& fileName);
    void runOwnWork(const std::string& title, const std::function<void(Progress&)>& work);
    bool openFromDisk(const std::string& fileName);
    std::string changedFileText(bool bytesChanged) const;
    bool confirmSaveOverChangedFile(const std::string& fileName);
    bool confirmSaveOverLinkedFile(const std::string& fileName);
    std::optional<std::string> askSaveName();
    std::optional<Bytes> patternOrWarn(const std::u16string& text, PatternMode mode);
    void showIoError(const std::string& text);
    void showRefusal(const std::string& text);
    void showUndoneChange(const Change* change);
    void fillTextLine(const std::u16string& units);
    bool lineUnchangedButInexact() const;
    void unicodeApply(std::size_t s);
    void forceApply(std::size_t s);

    static constexpr const char* NoMemoryForChange = "There is not enough memory for this change. Nothing was changed.";

    Prompts& prompts_;
    CodePage codePage_;
    Document document_;
    EditHistory history_;
    WindowState state_;
    FindFields findFields_;
    ReplaceFields replaceFields_;
    bool busy_ = false;
    // The name the document was last saved under, offered for the next save; the file it was
    // read from, which a mapped document still reads.
    std::string savedName_;
    std::string openedName_;
    std::vector<std::string> recentFiles_;
    // The text the program last put into the text line, and whether it holds the units it was
    // made from exactly (not so past a unit 0 or for an unpaired surrogate).
    std::u16string filledLine_;
    bool filledLineExact_ = true;
    // Whether the person was told that the open file was cut short on disk under it.
    bool toldFileCutShort_ = false;
    // The document's file as last seen on disk: when opened, saved, or told changed. Nothing
    // when it was removed; and whether there is a file to watch at all.
    std::optional<FileStamp> knownFile_;
    bool watchingFile_ = false;
    // Another program changed the file since it was opened or saved: saving over it asks first.
    bool changedSinceOpened_ = false;
    // Looks at the file wait while the editor itself writes it or asks about it.
    bool checksPaused_ = false;
    // A change noticed but not yet told: the file removed, or the mapped bytes changed.
    struct UntoldChange {
        bool removed = false;
        bool bytesChanged = false;
    };
    std::optional<UntoldChange> untoldChange_;
};

template <typename Edit>
bool Editor::editDocument(Edit&& edit, std::optional<WrittenText> written)
{
    try {
        return recordChange(edit(), written);
    } catch (const EditRefused& refused) {
        showRefusal(refused.what());
    } catch (const std::bad_alloc&) {
        showRefusal(NoMemoryForChange);
    }
    return false;
}

}  // namespace quillet
