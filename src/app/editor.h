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
enum class FocusRequest { None, ListBox1, Edit1 };

// The hex grid's in-place editor: open over one byte cell, holding what was typed there.
struct InPlaceEditor {
    bool Open = false;
    GridCell Cell;
    std::string Text;
};

// The state of the main window's widgets that the program's rules read and write. The window
// shows it after every handler and reports the person's actions back to the Editor.
struct WindowState {
    std::optional<std::size_t> ListBox1ItemIndex;     // the current segment
    std::optional<std::size_t> ListBoxPageItemIndex;  // the selected index line
    std::string Edit1Text;                            // in the code page
    int Edit1MaxLength = 128;                         // 0: no limit
    bool Panel3Visible = false;
    std::string StatusPanel0;  // the open file's name, as given
    std::string StatusPanel1;  // messages, in the code page
    std::int64_t RowCount = 2;
    GridCell Current{1, 1};
    GridSelection Selection;
    InPlaceEditor GridEditor;
    bool ForceMode = false;
    FocusRequest Focus = FocusRequest::None;  // taken and cleared by the window
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
    const TResource* currentSegment() const;

    // Start-up and files
    void FormActivate(const std::optional<std::string>& firstArgument);
    void OpenRSC(const std::string& fileName);
    void ToolButton1Click();  // Open
    void ToolButton2Click();  // Save file as

    // Lists
    void selectSegmentLineByUser(std::size_t line);  // the person picked a line of ListBox1
    void selectIndexLineByUser(std::size_t line);    // the person picked a line of ListBoxPage
    void ListBox1Click();
    void ListBoxPageClick();
    void Previousunicodeblock2Click();
    void Nextunicodeblock2Click();

    // Hex grid: what the person does, and the grid's own events
    void gridTypeCharacter(const std::string& character);  // a printable key on the grid
    void gridEditKey();                                      // F2
    void gridEditorTextChanged(const std::string& text);     // typing in the open editor
    void gridEditorEscape();
    void gridMoveCurrent(GridCell cell);  // arrow keys, paging, or a press on another cell
    void gridMousePress(MouseButton button, GridCell cellUnderPointer);
    void gridMouseRelease(MouseButton button, GridCell cellUnderPointer, bool gridHasFocus);
    void gridFocusLost();  // the focus went to another control of the window
    bool RxDrawGrid1ShowEditor(int col) const;
    void RxDrawGrid1EditChange(const std::string& text);
    void RxDrawGrid1SetEditText(const std::string& text, GridCell cell);
    void RxDrawGrid1Click();
    void Copy1Click();

    // Text line editor
    void edit1TextChangedByUser(const std::string& text);
    void Edit1Change();
    void SpeedButton1Click();

    // Editing commands
    void ToolButton3Click();  // Delete current section
    void ToolButton4Click();  // Force unicode

    // Find and replace
    void ToolButton5Click();  // Find
    void Findnext2Click();    // Find next
    void ToolButton6Click();  // Replace
    void SearchData(bool fromSegmentStart);
    void ReplaceData(bool fromBeginning);

    // About
    void About1Click();

    // Program-side changes of widget state, with the side effects the window's toolkit has.
    void setEdit1Text(const std::string& text);  // runs Edit1Change when the text changes
    void setRowCount(std::int64_t rows);          // keeps the current cell inside the grid
    void setCurrentCell(GridCell cell);           // hands over an open editor, then clicks
    void resetGridSelection() { state_.Selection = GridSelection{}; }
    FocusRequest takeFocusRequest();

private:
    void handOverGridEditor();
    void showIoError(const std::string& text);
    void fillEdit1(const std::vector<std::uint16_t>& units);
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
    // The text the program last put into Edit1 from 16-bit units, and whether converting it back
    // gives those units again (not so for a unit 0, an unmappable unit or a double-byte character).
    std::string filledLine_;
    bool filledLineExact_ = true;
};

}  // namespace quillet
