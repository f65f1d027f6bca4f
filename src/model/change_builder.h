#pragma once
#include <optional>
#include <utility>

#include "model/document.h"
#include "model/edit_steps.h"

namespace quillet {

// Makes one change of a document, step by step. Each step is applied, by the code that redo
// runs, as soon as it is added, so a later step sees the document as the earlier ones left it.
class ChangeBuilder {
public:
    explicit ChangeBuilder(Document& document) : document_(document) {}

    // The segment to show once the change is done or taken back.
    void showSegment(std::optional<std::size_t> segment) { change_.segment = segment; }
    // Applies the step and keeps it; throws std::bad_alloc before anything changed.
    void add(EditStep step);
    // The same for a step that `make` builds once the room to keep it is there, so that `make`
    // may take what the step needs out of the document (a removed segment's bytes).
    template <typename Make>
    void addMade(Make&& make)
    {
        // The room first: once the document has changed, keeping the step cannot fail.
        change_.steps.reserve(change_.steps.size() + 1);
        EditStep step = make();
        redoStep(document_, step);
        change_.steps.push_back(std::move(step));
    }
    // Replace's writes grow one place at a time, each written as redo writes it: adds a place
    // to the last step, which must be a ReplaceWrites. Throws std::bad_alloc before writing.
    void addReplaceWrite(const BytePlace& place);
    // Takes back every step applied so far.
    void takeBack();
    [[nodiscard]] Change finish() { return std::move(change_); }

private:
    Document& document_;
    Change change_;
};

// Runs `build` on a new builder and returns the change it made. When `build` throws, whatever it
// had applied is taken back before the exception goes on: an edit is done whole or not at all.
template <typename Build>
[[nodiscard]] Change buildChange(Document& document, Build&& build)
{
    ChangeBuilder builder(document);
    try {
        build(builder);
    } catch (...) {
        builder.takeBack();
        throw;
    }
    return builder.finish();
}

}  // namespace quillet
