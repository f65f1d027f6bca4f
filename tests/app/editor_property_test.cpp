// Random edit sequences on random files, checked at the level of resources: every resource that
// began at an index entry and that a step did not touch is found again, after saving and
// loading, at that entry with the same bytes. Undo and redo give back the exact document.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "model/edit_steps.h"
#include "model/line_format.h"
#include "model/loader.h"
#include "model/saver.h"
#include "support/editor_fixture.h"
#include "support/resource_builder.h"

namespace quillet {
namespace {

using Random = std::mt19937;

int uniform(Random& random, int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(random);
}

bool chance(Random& random, int percent)
{
    return uniform(random, 1, 100) <= percent;
}

// A byte of data or text that is never a marker, so that no block appears where none was.
std::uint8_t plainByte(Random& random)
{
    int byte = uniform(random, 0, 254);
    return static_cast<std::uint8_t>(byte == UnicodeMarker ? 0xFF : byte);
}

// A random indexed file made of resources, each beginning at an entry: a block, a block with
// data behind it (an untagged segment), data, or a single byte; now and then a repeated entry
// and an entry at the byte before the index.
Bytes randomFile(Random& random)
{
    Bytes body;
    std::vector<std::uint16_t> entries;
    int resources = uniform(random, 1, 7);
    for (int i = 0; i < resources; ++i) {
        entries.push_back(static_cast<std::uint16_t>(4 + body.size()));
        if (chance(random, 5)) entries.push_back(entries.back());
        bool block = chance(random, 50);
        if (block) {
            int count = uniform(random, 0, 12);
            body.push_back(static_cast<std::uint8_t>(count));
            body.push_back(UnicodeMarker);
            for (int b = 0; b < 2 * count; ++b) body.push_back(plainByte(random));
        }
        if (!block || chance(random, 30)) {
            int length = chance(random, 20) ? 1 : uniform(random, 1, 20);
            for (int b = 0; b < length; ++b) body.push_back(plainByte(random));
        }
    }
    // The byte before the index is never a marker, even when it would count as one.
    body.push_back(plainByte(random));
    auto indexOffset = static_cast<std::uint16_t>(4 + body.size());
    if (chance(random, 15)) entries.push_back(static_cast<std::uint16_t>(indexOffset - 1));
    Bytes file;
    test::putWord(file, indexOffset);
    test::putWord(file, static_cast<std::uint16_t>(uniform(random, 0, 0xFFFF)));
    file.insert(file.end(), body.begin(), body.end());
    for (std::uint16_t entry : entries) test::putWord(file, entry);
    test::putWord(file, indexOffset);
    return file;
}

// A line whose units write no marker byte; now and then one too long for a block.
std::string randomLine(Random& random)
{
    int length = chance(random, 3) ? uniform(random, 250, 260) : uniform(random, 0, 12);
    std::u16string units;
    for (int i = 0; i < length; ++i) {
        char16_t unit = chance(random, 80) ? static_cast<char16_t>(uniform(random, 0x20, 0x7E))
                                           : static_cast<char16_t>(uniform(random, 0x100, 0xD7FF));
        if ((unit & 0xFF) == UnicodeMarker || (unit >> 8) == UnicodeMarker) unit = u'x';
        units.push_back(unit);
    }
    return test::utf8(units);
}

std::uint16_t wordAt(const Bytes& file, std::size_t at)
{
    return static_cast<std::uint16_t>(file[at] | (file[at + 1] << 8));
}

// The resources of a saved file: for each entry at which the body scan cuts, the bytes from it
// to the next such entry or to the index.
struct Resource {
    std::int64_t start = 0;
    Bytes bytes;
};

std::map<std::size_t, Resource> resourcesOf(const Bytes& file)
{
    std::int64_t indexOffset = wordAt(file, 0);
    auto entryCount = static_cast<std::size_t>((static_cast<std::int64_t>(file.size()) - indexOffset - 2) / 2);
    std::vector<std::int64_t> cuts;
    for (std::size_t k = 0; k < entryCount; ++k) {
        std::int64_t entry = wordAt(file, static_cast<std::size_t>(indexOffset) + 2 * k);
        if (entry >= 4 && entry < indexOffset - 1) cuts.push_back(entry);
    }
    std::sort(cuts.begin(), cuts.end());
    std::map<std::size_t, Resource> resources;
    for (std::size_t k = 0; k < entryCount; ++k) {
        std::int64_t start = wordAt(file, static_cast<std::size_t>(indexOffset) + 2 * k);
        if (start < 4 || start >= indexOffset - 1) continue;
        auto next = std::upper_bound(cuts.begin(), cuts.end(), start);
        std::int64_t end = next == cuts.end() ? indexOffset : *next;
        resources[k] = Resource{start, Bytes(file.begin() + start, file.begin() + end)};
    }
    return resources;
}

// The file bytes [start, start + removed) that a step replaces by `inserted` bytes. When the
// change begins at the first byte of a segment, a resource beginning there is changed too.
struct FileRange {
    std::int64_t start = 0;
    std::int64_t removed = 0;
    std::int64_t inserted = 0;
    bool atSegmentStart = true;
};

std::vector<FileRange> rangesOf(const Document& document, const EditStep& step)
{
    if (const auto* splice = std::get_if<BodySplice>(&step)) {
        const Segment& segment = document.segments[splice->segment];
        if (segment.isUnicode()) {
            auto text = static_cast<std::int64_t>(segment.data.size());
            std::int64_t grown = static_cast<std::int64_t>(splice->inserted.size()) - static_cast<std::int64_t>(splice->removed.size());
            return {{segment.offset, 2 + text, 2 + text + grown}};
        }
        return {{document.dataStart(segment) + static_cast<std::int64_t>(splice->from),
                 static_cast<std::int64_t>(splice->removed.size()), static_cast<std::int64_t>(splice->inserted.size()),
                 splice->from == 0 && !segment.data.empty()}};
    }
    if (const auto* write = std::get_if<ByteWrite>(&step)) {
        const Segment& segment = document.segments[write->segment];
        return {{document.dataStart(segment) + static_cast<std::int64_t>(write->index), 1, 1}};
    }
    if (const auto* removal = std::get_if<SegmentRemoval>(&step)) {
        const Segment& segment = document.segments[removal->segment];
        std::int64_t taken = segment.size() + (segment.isUnicode() ? 2 : 0);
        return {{segment.isUnicode() ? segment.offset : document.dataStart(segment), taken, 0}};
    }
    if (const auto* writes = std::get_if<ReplaceWrites>(&step)) {
        std::vector<FileRange> ranges;
        auto length = static_cast<std::int64_t>(writes->pattern.size());
        for (const BytePlace& place : writes->places)
            ranges.push_back({document.dataStart(document.segments[place.segment]) + static_cast<std::int64_t>(place.index),
                              length, length});
        return ranges;
    }
    return {};
}

std::string describe(const Change& change)
{
    std::string text;
    for (const EditStep& step : change.steps) {
        if (const auto* splice = std::get_if<BodySplice>(&step))
            text += "[splice " + std::to_string(splice->segment) + " at " + std::to_string(splice->from) + ": " +
                    test::hexOf(splice->removed) + " -> " + test::hexOf(splice->inserted) + "]";
        if (const auto* write = std::get_if<ByteWrite>(&step))
            text += "[byte " + std::to_string(write->segment) + " at " + std::to_string(write->index) + "]";
        if (const auto* removal = std::get_if<SegmentRemoval>(&step)) text += "[removal " + std::to_string(removal->segment) + "]";
        if (std::holds_alternative<ForcedTextChange>(step)) text += "[forced text]";
    }
    return text;
}

class EditorProperty : public test::EditorFixture {
protected:
    std::size_t segmentCount() const { return document().segments.size(); }
    std::size_t anySegment(Random& random) const
    {
        return static_cast<std::size_t>(uniform(random, 0, static_cast<int>(segmentCount()) - 1));
    }
    std::vector<std::size_t> blocks() const
    {
        std::vector<std::size_t> found;
        for (std::size_t s = 0; s < segmentCount(); ++s)
            if (segment(s).isUnicode()) found.push_back(s);
        return found;
    }

    void unicodeApply(Random& random)
    {
        std::vector<std::size_t> candidates = blocks();
        if (candidates.empty()) return;
        select(candidates[static_cast<std::size_t>(uniform(random, 0, static_cast<int>(candidates.size()) - 1))]);
        if (!chance(random, 20)) editor.textLineEdited(test::u16(randomLine(random)));
        editor.applyTextLine();
    }

    void deletion(Random& random)
    {
        if (segmentCount() == 0) return;
        select(anySegment(random));
        deleteCurrent(chance(random, 80));
    }

    void forceApply(Random& random)
    {
        if (segmentCount() == 0) return;
        select(anySegment(random));
        if (chance(random, 60)) {
            // Any cells of the grid: lead cells, odd cells, column 0 and character cells included.
            auto rows = static_cast<int>(state().rowCount) - 1;
            dragSelect({uniform(random, 1, rows), uniform(random, 0, 32)}, {uniform(random, 1, rows), uniform(random, 0, 32)});
        }
        editor.forceUnicode();
        if (!chance(random, 30)) editor.textLineEdited(test::u16(randomLine(random)));
        prompts.answers = {chance(random, 70), chance(random, 50)};
        editor.applyTextLine();
    }

    void textsImport(Random& random)
    {
        std::vector<std::pair<std::size_t, std::u16string>> texts;
        for (std::size_t block : blocks())
            if (chance(random, 50)) texts.emplace_back(block, test::u16(randomLine(random)));
        editor.applyTexts(texts);
    }

    // After one step: the untouched resources are where their entries say, with their bytes.
    void checkResources(const Document& before, const Bytes& beforeImage)
    {
        Bytes image = savedImage(document());
        Document reloaded = parseResource(image);
        ASSERT_FALSE(reloaded.noIndex);
        ASSERT_EQ(savedImage(reloaded), image) << "a saved file loads back as the same document";
        std::map<std::size_t, Resource> old = resourcesOf(beforeImage);
        std::map<std::size_t, Resource> now = resourcesOf(image);
        std::map<std::size_t, bool> touched;
        if (editor.history().doneCount() == doneBefore_) {
            // Nothing was recorded: nothing may have moved.
            EXPECT_EQ(test::hexOf(image), test::hexOf(beforeImage));
            return;
        }
        Document replay = before;
        SCOPED_TRACE("change " + describe(*editor.history().lastDone()) + " turns " + test::hexOf(beforeImage) + " into " +
                     test::hexOf(image));
        for (const EditStep& step : editor.history().lastDone()->steps) {
            for (const FileRange& range : rangesOf(replay, step)) {
                for (auto& [entry, resource] : old) {
                    if (touched[entry]) continue;
                    auto end = resource.start + static_cast<std::int64_t>(resource.bytes.size());
                    std::int64_t rangeEnd = range.start + range.removed;
                    // Bytes only added belong to the segment they were added to: at its start, to
                    // the resource beginning there, else to the one ending there.
                    bool added = range.removed == 0;
                    bool changed = (resource.start < rangeEnd && range.start < end) ||
                                   (added && range.atSegmentStart && resource.start == range.start) ||
                                   (added && !range.atSegmentStart && end == range.start);
                    if (changed)
                        touched[entry] = true;
                    else if (resource.start >= rangeEnd)
                        resource.start += range.inserted - range.removed;
                }
            }
            redoStep(replay, step);
        }
        // The byte before the index never starts a resource, whatever the entries say: a resource
        // left holding just that byte joins the one in front of it.
        std::int64_t lastBodyByte = wordAt(image, 0) - 1;
        for (const auto& [entry, resource] : old) {
            if (touched[entry] || resource.start == lastBodyByte) continue;
            ASSERT_TRUE(now.count(entry)) << "entry " << entry << " no longer starts a resource";
            EXPECT_EQ(now[entry].start, resource.start) << "entry " << entry;
            Bytes bytes = now[entry].bytes;
            if (bytes.size() == resource.bytes.size() + 1 && now[entry].start + static_cast<std::int64_t>(bytes.size()) == lastBodyByte + 1)
                bytes.pop_back();
            EXPECT_EQ(test::hexOf(bytes), test::hexOf(resource.bytes)) << "entry " << entry;
        }
    }

    // Undo gives back the document before the step exactly, and redo the one after it.
    void checkUndoRedo(const Bytes& beforeImage, const std::vector<std::string>& beforeLines)
    {
        Bytes afterImage = savedImage(document());
        std::vector<std::string> afterLines = lines();
        editor.undo();
        EXPECT_EQ(test::hexOf(savedImage(document())), test::hexOf(beforeImage));
        EXPECT_EQ(lines(), beforeLines);
        editor.redo();
        EXPECT_EQ(test::hexOf(savedImage(document())), test::hexOf(afterImage));
        EXPECT_EQ(lines(), afterLines);
    }

    void runStep(Random& random)
    {
        Document before = document();
        Bytes beforeImage = savedImage(before);
        std::vector<std::string> beforeLines = lines();
        doneBefore_ = editor.history().doneCount();
        switch (uniform(random, 0, 3)) {
        case 0: unicodeApply(random); break;
        case 1: deletion(random); break;
        case 2: forceApply(random); break;
        default: textsImport(random); break;
        }
        bool recorded = editor.history().doneCount() == doneBefore_ + 1;
        checkResources(before, beforeImage);
        if (recorded && chance(random, 40)) checkUndoRedo(beforeImage, beforeLines);
    }

    std::size_t doneBefore_ = 0;
};

TEST_F(EditorProperty, UntouchedResourcesStayAtTheirEntriesAndUndoGivesBackEveryStep)
{
    Random random(20261208);
    for (int sequence = 0; sequence < 2000; ++sequence) {
        Bytes file = randomFile(random);
        open(file, "property.rsc");
        SCOPED_TRACE("sequence " + std::to_string(sequence) + ": " + test::hexOf(file));
        ASSERT_EQ(test::hexOf(savedImage(document())), test::hexOf(file)) << "an unchanged file saves as it was";
        for (int step = 0; step < 10; ++step) {
            SCOPED_TRACE("step " + std::to_string(step));
            runStep(random);
            if (HasFailure()) return;
        }
    }
}

}  // namespace
}  // namespace quillet
