#include "model/edit_steps.h"

#include <algorithm>

namespace quillet {

namespace {

void shiftSegmentsFrom(Document& document, std::size_t first, std::int64_t delta)
{
    for (std::size_t j = first; j < document.segments.size(); ++j) document.segments[j].shift(delta);
}

void setEntries(Document& document, const std::vector<EntryChange>& changes, bool after)
{
    for (const EntryChange& change : changes) document.indexTable[change.entry] = after ? change.after : change.before;
}

std::int64_t lengthChange(const BodySplice& splice)
{
    return static_cast<std::int64_t>(splice.inserted.size()) - static_cast<std::int64_t>(splice.removed.size());
}

void spliceData(Document& document, std::size_t s, std::size_t from, const Bytes& out, const Bytes& in)
{
    document.segments[s].data.splice(from, out.size(), in.data(), in.size());
}

void writeByteAt(Document& document, const ByteWrite& write, std::uint8_t value)
{
    document.segments[write.segment].data.write(write.index, std::span(&value, 1));
}

struct Redo {
    Document& document;
    void operator()(const ByteWrite& write) const { writeByteAt(document, write, write.after); }
    void operator()(const BodySplice& splice) const
    {
        spliceData(document, splice.segment, splice.from, splice.removed, splice.inserted);
        shiftSegmentsFrom(document, splice.segment + 1, lengthChange(splice));
        setEntries(document, splice.entries, true);
    }
    void operator()(const SegmentRemoval& removal) const
    {
        auto at = document.segments.begin() + static_cast<std::ptrdiff_t>(removal.segment);
        document.segments.erase(at);
        shiftSegmentsFrom(document, removal.segment, -removal.removed.fileBytes());
        setEntries(document, removal.entries, true);
    }
    void operator()(const ForcedTextChange& change) const
    {
        document.segments[change.segment].forcedText = change.after;
    }
    void operator()(const ReplaceWrites& writes) const
    {
        for (const BytePlace& place : writes.places) writeReplacementAt(document, writes, place);
    }
    void operator()(const SegmentsReread& reread) const { document.segments = reread.after; }
};

struct Undo {
    Document& document;
    void operator()(const ByteWrite& write) const { writeByteAt(document, write, write.before); }
    void operator()(const BodySplice& splice) const
    {
        spliceData(document, splice.segment, splice.from, splice.inserted, splice.removed);
        shiftSegmentsFrom(document, splice.segment + 1, -lengthChange(splice));
        setEntries(document, splice.entries, false);
    }
    void operator()(const SegmentRemoval& removal) const
    {
        shiftSegmentsFrom(document, removal.segment, removal.removed.fileBytes());
        auto at = document.segments.begin() + static_cast<std::ptrdiff_t>(removal.segment);
        document.segments.insert(at, removal.removed);
        setEntries(document, removal.entries, false);
    }
    void operator()(const ForcedTextChange& change) const
    {
        document.segments[change.segment].forcedText = change.before;
    }
    void operator()(const ReplaceWrites& writes) const
    {
        for (auto place = writes.places.rbegin(); place != writes.places.rend(); ++place)
            document.segments[place->segment].data.write(place->index, writes.pattern);
    }
    void operator()(const SegmentsReread& reread) const { document.segments = reread.before; }
};

struct HeldBytes {
    std::size_t operator()(const ByteWrite& write) const { return sizeof write; }
    std::size_t operator()(const BodySplice& splice) const
    {
        return sizeof splice + splice.removed.capacity() + splice.inserted.capacity() +
               splice.entries.capacity() * sizeof(EntryChange);
    }
    std::size_t operator()(const SegmentRemoval& removal) const
    {
        return sizeof removal + removal.removed.data.ownBytes() + removal.entries.capacity() * sizeof(EntryChange);
    }
    std::size_t operator()(const ForcedTextChange& change) const
    {
        return sizeof change +
               2 * ((change.before ? change.before->size() : 0) + (change.after ? change.after->size() : 0));
    }
    std::size_t operator()(const ReplaceWrites& writes) const
    {
        return sizeof writes + writes.pattern.capacity() + writes.replacement.capacity() +
               writes.places.capacity() * sizeof(BytePlace);
    }
    std::size_t operator()(const SegmentsReread& reread) const
    {
        std::size_t held = sizeof reread;
        for (const auto* segments : {&reread.before, &reread.after})
            for (const Segment& segment : *segments) held += sizeof segment + segment.data.size();
        return held;
    }
};

}  // namespace

void writeReplacementAt(Document& document, const ReplaceWrites& writes, const BytePlace& place)
{
    document.segments[place.segment].data.write(place.index, writes.replacement);
}

bool changesFile(const Change& change)
{
    return std::any_of(change.steps.begin(), change.steps.end(),
                       [](const EditStep& step) { return !std::holds_alternative<ForcedTextChange>(step); });
}

void redoStep(Document& document, const EditStep& step)
{
    std::visit(Redo{document}, step);
}

void undoStep(Document& document, const EditStep& step)
{
    std::visit(Undo{document}, step);
}

// A change is done or taken back whole: when a step fails for lack of memory, the steps before
// it are turned back and the failure goes on to the caller.
void redoChange(Document& document, const Change& change)
{
    std::size_t done = 0;
    try {
        for (; done < change.steps.size(); ++done) redoStep(document, change.steps[done]);
    } catch (...) {
        while (done > 0) undoStep(document, change.steps[--done]);
        throw;
    }
}

void undoChange(Document& document, const Change& change)
{
    std::size_t left = change.steps.size();
    try {
        for (; left > 0; --left) undoStep(document, change.steps[left - 1]);
    } catch (...) {
        for (; left < change.steps.size(); ++left) redoStep(document, change.steps[left]);
        throw;
    }
}

std::size_t heldBytes(const EditStep& step)
{
    return std::visit(HeldBytes{}, step);
}

}  // namespace quillet
