#pragma once
#include <cstddef>
#include <optional>
#include <vector>

#include "model/edit_steps.h"

namespace quillet {

// The undo history of a document: every change since it was opened, with no fixed depth, and
// the changes taken back that can be done again. It also knows whether the document is as it
// was last opened or saved: undoing back to that point makes it clean again.
class EditHistory {
public:
    // A new change; the changes taken back can no longer be done again. Throws std::bad_alloc
    // when there is no room for it, and then leaves the history and `change` as they were, so
    // that the caller can take the change back.
    void record(Change&& change);
    bool canUndo() const { return !done_.empty(); }
    bool canRedo() const { return !undone_.empty(); }
    // Takes back the last change, or does again the last one taken back; nothing when there is
    // none. Returns the change, to show the segment it touched.
    const Change* undo(Document& document);
    const Change* redo(Document& document);

    void clear();
    // The document now matches the file on disk.
    void markClean() { cleanDepth_ = done_.size(); }
    bool isClean() const { return cleanDepth_ == done_.size(); }

    std::size_t heldBytes() const;
    // The changes that can be undone, and the last of them.
    std::size_t doneCount() const { return done_.size(); }
    const Change* lastDone() const { return done_.empty() ? nullptr : &done_.back(); }

private:
    std::vector<Change> done_;
    std::vector<Change> undone_;
    // How many changes were done when the document last matched the file; nothing when that
    // state can no longer be reached.
    std::optional<std::size_t> cleanDepth_ = 0;
};

}  // namespace quillet
