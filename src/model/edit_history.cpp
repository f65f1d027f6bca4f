#include "model/edit_history.h"

namespace quillet {

void EditHistory::record(Change&& change)
{
    if (change.empty()) return;
    // Taken in first: the one step that can fail, and it fails leaving `change` whole.
    done_.push_back(std::move(change));
    if (cleanDepth_ && *cleanDepth_ >= done_.size()) cleanDepth_.reset();
    undone_.clear();
}

const Change* EditHistory::undo(Document& document)
{
    if (done_.empty()) return nullptr;
    undone_.reserve(undone_.size() + 1);  // no lack of memory once the document has changed
    undoChange(document, done_.back());
    undone_.push_back(std::move(done_.back()));
    done_.pop_back();
    return &undone_.back();
}

const Change* EditHistory::redo(Document& document)
{
    if (undone_.empty()) return nullptr;
    done_.reserve(done_.size() + 1);
    redoChange(document, undone_.back());
    done_.push_back(std::move(undone_.back()));
    undone_.pop_back();
    return &done_.back();
}

void EditHistory::clear()
{
    done_.clear();
    undone_.clear();
    cleanDepth_ = 0;
}

std::size_t EditHistory::heldBytes() const
{
    std::size_t total = 0;
    for (const auto* changes : {&done_, &undone_})
        for (const Change& change : *changes)
            for (const EditStep& step : change.steps) total += quillet::heldBytes(step);
    return total;
}

}  // namespace quillet
