#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/prompts.h"
#include "model/codepage.h"
#include "model/document.h"
#include "search/search_fields.h"
#include "views/grid_selection.h"

namespace quillet {

enum class MouseButton { Left, Right, Middle };
enum class FocusRequest { None, SegmentList, TextLine };

// The hex grid's in-place editor: open over one byte cell, holding what was typed there.
struct GridEditorState {
    bool open = false;
    GridCell cell;
    std::string text;
};

// The state of the main window's widgets that the program's rules read and write. The window
// shows it after every handler and reports the person's actions back to the Editor.
struct WindowState {
    std::optional<std::size_t> selectedSegment;     // the current segment
    std::optional<std::size_t> selectedIndexLine;  // the selected index line
    std::string textLine;                            // in the code page
    int textLineMaxLength = 128;                         // 0: no limit
    bool textStripVisible = false;
    std::string fileNamePanel;  // the open file's name, as given
    std::string messagePanel;  // messages, in the code page
    std::int64_t rowCount = 2;
    GridCell current{1, 1};
    GridSelection selection;
    GridEditorState gridEditor;
    bool forceMode = false;
    FocusRequest focus = FocusRequest::None;  // taken and cleared by the window
};

// The main window's rules: the document, the widget state and every command handler, named after
// the control and event that run it. It talks to the person only through Prompts.
class Editor {
public:
    Editor(Prompts& prompts, CodePage codePage);

    const Document& document() const { return document_; }
    Document& document() { return document_; }
    const WindowState& state() const { return state_; }
    const CodePage& codePage() const { return codePage_; }
    FindFields& findFields() { return findFields_; }
    ReplaceFields& replaceFields() { return replaceFields_; }

    // The selected segment, or nothing.
    const Segment* currentSegment() const;

    // Start-up and files
    void activate(const std::optional<std::string>& firstArgument);
    void loadFile(const std::string& fileName);
    void openFile();  // open
    void saveFileAs();  // Save file as

    // Lists
    void selectSegment(std::size_t line);  // the person picked a line of the segment list
    void selectIndexLine(std::size_t line);    // the person picked a line of the index list
    void showSelectedSegment();
    void followIndexLine();
    void previousSegment();
    void nextSegment();

    // Hex grid: what the person does, and the grid's own events
    void gridTypeCharacter(const std::string& character);  // a printable key on the grid
    void gridEditKey();                                      // F2
    void gridEditorTextChanged(const std::string& text);     // typing in the open editor
    void gridEditorEscape();
    void gridMoveCurrent(GridCell cell);  // arrow keys, paging, or a press on another cell
    void gridMousePress(MouseButton button, GridCell cellUnderPointer);
    void gridMouseRelease(MouseButton button, GridCell cellUnderPointer, bool gridHasFocus);
    void gridFocusLost();  // the focus went to another control of the window
    bool canEditColumn(int col) const;
    void advanceAfterTwoDigits(const std::string& text);
    void storeTypedByte(const std::string& text, GridCell cell);
    void gridClicked();
    void copyHex();

    // text line editor
    void textLineEdited(const std::string& text);
    void updateCharacterCounter();
    void applyTextLine();

    // Editing commands
    void deleteCurrentSegment();  // Delete current section
    void forceUnicode();  // Force unicode

    // Find and replace
    void find();  // Find
    void findNext();    // Find next
    void replace();  // Replace
    void searchForward(bool fromSegmentStart);
    void replaceAll(bool fromBeginning);

    // About
    void showAbout();

    // Program-side changes of widget state, with the side effects the window's toolkit has.
    void setTextLine(const std::string& text);  // runs updateCharacterCounter when the text changes
    void setRowCount(std::int64_t rows);          // keeps the current cell inside the grid
    void setCurrentCell(GridCell cell);           // hands over an open editor, then clicks
    void resetGridSelection() { state_.selection = GridSelection{}; }
    FocusRequest takeFocusRequest();

private:
    void handOverGridEditor();
    void showIoError(const std::string& text);
    void fillTextLine(const std::vector<std::uint16_t>& units);
    bool lineUnchangedButInexact() const;
    std::vector<std::uint16_t> lineUnits() const;
    void unicodeApply(std::size_t s);
    void forceApply(std::size_t s);

    Prompts& prompts_;
    CodePage codePage_;
    Document document_;
    WindowState state_;
    FindFields findFields_;
    ReplaceFields replaceFields_;
    // The text the program last put into the text line from 16-bit units, and whether converting it back
    // gives those units again (not so for a unit 0, an unmappable unit or a double-byte character).
    std::string filledLine_;
    bool filledLineExact_ = true;
};

}  // namespace quillet
