// Random edit sequences on random files, checked at the level of resources: every resource that
// began at an index entry and that a step did not touch is found again, after saving and
// loading, at that entry with the same bytes. Undo and redo give back the exact document.
#include <gtest/gtest.h>

#include <random>

#include "model/loader.h"
#include "model/saver.h"
#include "support/editor_fixture.h"
#include "support/resource_builder.h"
#include "support/resource_invariant.h"

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
    file.reserve(4 + body.size() + 2 * entries.size() + 2);
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
            dragSelect({uniform(random, 1, rows), uniform(random, 0, 32)},
                       {uniform(random, 1, rows), uniform(random, 0, 32)});
        }
        editor.forceUnicode();
        if (!chance(random, 30)) editor.textLineEdited(test::u16(randomLine(random)));
        prompts.answers = {chance(random, 70), chance(random, 50)};
        editor.applyTextLine();
    }

    void textsImport(Random& random)
    {
        std::vector<TextChange> texts;
        for (std::size_t block : blocks())
            if (chance(random, 50)) texts.push_back({block + 1, test::u16(randomLine(random))});
        editor.applyTexts(texts);
    }

    // After one step: the untouched resources are where their entries say, with their bytes.
    void checkResources(const Document& before, const Bytes& beforeImage)
    {
        Bytes image = savedImage(document());
        Document reloaded = parseResource(image);
        ASSERT_FALSE(reloaded.noIndex);
        ASSERT_EQ(savedImage(reloaded), image) << "a saved file loads back as the same document";
        if (editor.history().doneCount() == doneBefore_) {
            // Nothing was recorded: nothing may have moved.
            EXPECT_EQ(test::hexOf(image), test::hexOf(beforeImage));
            return;
        }
        const Change& change = *editor.history().lastDone();
        SCOPED_TRACE("change " + test::describe(change) + " turns " + test::hexOf(beforeImage) + " into " +
                     test::hexOf(image));
        for (const std::string& fault : test::untouchedResourceFaults(before, beforeImage, change, image))
            ADD_FAILURE() << fault;
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
        // A forced text that was not applied is dropped when the next step leaves it.
        prompts.typingChoices = {TypingChoice::Discard};
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
