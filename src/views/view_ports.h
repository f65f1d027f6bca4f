#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "model/document.h"
#include "views/grid_geometry.h"
#include "views/grid_selection.h"

namespace quillet {

class CodePage;

// What the views may read of the document. While long work writes it, there is nothing to read:
// the views learn of the document only through this, so none of them can forget to wait.
class DocumentSource {
public:
    virtual ~DocumentSource() = default;
    virtual const Document* shownDocument() const = 0;
};

// The segment the grid shows, and where its bytes sit.
struct ShownSegment {
    const Segment* segment = nullptr;
    std::int64_t dataStart = 0;
    GridLayout layout;
};

// What the hex grid draws and where it sends the person's actions on it.
class GridPort {
public:
    virtual ~GridPort() = default;

    virtual std::int64_t rowCount() const = 0;
    virtual GridCell currentCell() const = 0;
    virtual const GridSelection& gridSelection() const = 0;
    virtual const GridEditorState& gridEditor() const = 0;
    // The current segment; nothing when none is selected or while long work writes the document.
    virtual std::optional<ShownSegment> shownSegment() const = 0;
    virtual const CodePage& codePage() const = 0;

    virtual bool canEditColumn(int col) const = 0;
    virtual void gridTypeCharacter(const std::string& character) = 0;  // a printable key
    virtual void gridEditKey() = 0;                                    // F2
    virtual void gridEditorTextChanged(const std::string& text) = 0;   // typing in the open editor
    virtual void gridEditorEscape() = 0;
    virtual void gridMoveCurrent(GridCell cell) = 0;  // arrow keys, paging, or a press on another cell
    virtual void gridMousePress(MouseButton button, GridCell cellUnderPointer) = 0;
    virtual void gridMouseRelease(MouseButton button, GridCell cellUnderPointer, bool gridHasFocus) = 0;
    virtual void gridFocusLost() = 0;  // the focus went to another control of the window
};

}  // namespace quillet
