#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <unistd.h>

#include "app/editor.h"
#include "model/loader.h"
#include "model/saver.h"
#include "support/byte_strings.h"
#include "support/resource_builder.h"
#include "support/scripted_prompts.h"

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

// A random indexed file whose entries all point at segment starts (a block's count byte, a data
// segment's first byte). Data bytes are never 0xAB; an entry cuts every data segment that
// follows another one and every block that follows a data segment (so that a count byte 0xAB
// is not taken for a marker); the body ends with a data segment, since the byte before the
// index is never read as a marker.
Bytes randomFile(Random& random)
{
    Bytes body;
    std::vector<std::uint16_t> entries;
    int segments = uniform(random, 1, 7);
    bool previousIsData = false;
    for (int i = 0; i < segments; ++i) {
        bool last = i == segments - 1;
        bool block = !last && chance(random, 45);
        auto start = static_cast<std::uint16_t>(4 + body.size());
        if (previousIsData || chance(random, 50)) entries.push_back(start);
        if (chance(random, 5)) entries.push_back(start);
        if (block) {
            int count = uniform(random, 0, 12);
            body.push_back(static_cast<std::uint8_t>(count));
            body.push_back(UnicodeMarker);
            for (int b = 0; b < 2 * count; ++b) body.push_back(static_cast<std::uint8_t>(uniform(random, 0, 255)));
        } else {
            int length = uniform(random, last && previousIsData ? 2 : 1, 20);
            for (int b = 0; b < length; ++b) {
                int byte = uniform(random, 0, 254);
                body.push_back(static_cast<std::uint8_t>(byte == UnicodeMarker ? 0xFF : byte));
            }
        }
        previousIsData = !block;
    }
    auto indexOffset = static_cast<std::uint16_t>(4 + body.size());
    auto secondWord = static_cast<std::uint16_t>(uniform(random, 0, 0xFFFF));
    Bytes file = body;
    file.insert(file.begin(), {static_cast<std::uint8_t>(indexOffset & 0xFF), static_cast<std::uint8_t>(indexOffset >> 8),
                               static_cast<std::uint8_t>(secondWord & 0xFF), static_cast<std::uint8_t>(secondWord >> 8)});
    for (std::uint16_t entry : entries) test::putWord(file, entry);
    test::putWord(file, indexOffset);
    return file;
}

// A line as a person could type it in code page 1252 (no NUL); now and then one too long for a
// block, or a very long one that makes the body too large to save.
std::string randomLine(Random& random)
{
    int length = chance(random, 3) ? uniform(random, 250, 260) : uniform(random, 0, 12);
    if (chance(random, 1)) length = 70000;
    std::string line;
    for (int i = 0; i < length; ++i) line += static_cast<char>(uniform(random, 1, 255));
    return line;
}

class EditorProperty : public ::testing::Test {
protected:
    test::ScriptedPrompts prompts;
    Editor editor{prompts, *CodePage::byName("1252")};
    // Saving syncs the file to disk; a memory file system keeps thousands of saves quick.
    std::string savePath = memoryPath("property-saved-" + std::to_string(::getpid()) + ".rsc");

    static std::string memoryPath(const std::string& name)
    {
        std::filesystem::path folder = "/dev/shm";
        return std::filesystem::is_directory(folder) ? (folder / name).string() : test::tempPath(name);
    }
    void TearDown() override { std::filesystem::remove(savePath); }
    int refusedSaves = 0;

    std::size_t lineCount() const { return editor.document().segments.size(); }

    void unicodeApply(Random& random)
    {
        std::vector<std::size_t> blocks;
        for (std::size_t s = 0; s < lineCount(); ++s)
            if (editor.document().segments[s].isUnicode()) blocks.push_back(s);
        if (blocks.empty()) return;
        editor.selectSegment(blocks[static_cast<std::size_t>(uniform(random, 0, int(blocks.size()) - 1))]);
        if (!chance(random, 20)) editor.textLineEdited(randomLine(random));
        editor.applyTextLine();
    }

    void deletion(Random& random)
    {
        if (lineCount() == 0) return;
        editor.selectSegment(static_cast<std::size_t>(uniform(random, 0, int(lineCount()) - 1)));
        prompts.answers = {chance(random, 70)};
        editor.deleteCurrentSegment();
    }

    void forceApply(Random& random)
    {
        if (lineCount() == 0) return;
        editor.selectSegment(static_cast<std::size_t>(uniform(random, 0, int(lineCount()) - 1)));
        if (chance(random, 60)) {
            // Any cells of the grid, lead cells, column 0 and character cells included.
            auto rows = static_cast<int>(editor.state().rowCount) - 1;
            GridCell from{uniform(random, 1, rows), uniform(random, 0, 32)};
            GridCell to{uniform(random, 1, rows), uniform(random, 0, 32)};
            editor.gridMousePress(MouseButton::Left, from);
            editor.gridMouseRelease(MouseButton::Left, to, true);
        }
        editor.forceUnicode();
        if (!chance(random, 30)) editor.textLineEdited(randomLine(random));
        prompts.answers = {chance(random, 70), chance(random, 50)};
        editor.applyTextLine();
    }

    void checkDocument()
    {
        const Document& document = editor.document();
        ASSERT_EQ(document.segmentLines.size(), document.segments.size());
        for (const Segment& segment : document.segments) {
            ASSERT_EQ(static_cast<std::size_t>(segment.size), segment.data.size());
            if (segment.isUnicode()) {
                ASSERT_EQ(segment.size % 2, 0);
                ASSERT_LE(segment.size, 510);
            }
        }
    }

    // Saves; returns the file written, or nothing when saving was refused.
    std::optional<Bytes> checkSave()
    {
        std::filesystem::remove(savePath);
        std::size_t messages = prompts.messages.size();
        prompts.saveNames.push_back(savePath);
        editor.saveFileAs();
        std::uint64_t before = bytesBeforeIndex(editor.document());
        if (before > 0xFFFF) {
            EXPECT_EQ(prompts.messages.size(), messages + 1);
            EXPECT_FALSE(std::filesystem::exists(savePath));
            ++refusedSaves;
            return std::nullopt;
        }
        EXPECT_EQ(prompts.messages.size(), messages);
        Bytes file = test::readFileBytes(savePath);
        std::size_t entries = editor.document().indexTable.size();
        EXPECT_EQ(file.size(), before + 2 * entries + 2);
        if (file.size() < 4) {
            ADD_FAILURE() << "saved file too short";
            return std::nullopt;
        }
        std::uint16_t first = static_cast<std::uint16_t>(file[0] | (file[1] << 8));
        std::uint16_t last = static_cast<std::uint16_t>(file[file.size() - 2] | (file[file.size() - 1] << 8));
        EXPECT_EQ(first, last);
        EXPECT_EQ(first, file.size() - 2 * entries - 2);
        return file;
    }

    void checkLoadsBack(const Bytes& file)
    {
        Document loaded = parseResource(file, editor.codePage());
        const Document& document = editor.document();
        ASSERT_FALSE(loaded.noIndex);
        ASSERT_EQ(loaded.indexTable, document.indexTable);
        ASSERT_EQ(loaded.segments.size(), document.segments.size());
        for (std::size_t s = 0; s < loaded.segments.size(); ++s) {
            ASSERT_EQ(loaded.segments[s].kind, document.segments[s].kind) << "segment " << s;
            ASSERT_EQ(loaded.segments[s].offset, document.segments[s].offset) << "segment " << s;
            ASSERT_EQ(loaded.segments[s].data, document.segments[s].data) << "segment " << s;
        }
    }
};

TEST_F(EditorProperty, AppliesDeletionsAndForceAppliesKeepTheDocumentSaveable)
{
    Random random(20240611);
    for (int sequence = 0; sequence < 120; ++sequence) {
        Bytes file = randomFile(random);
        editor.loadFile(test::writeTempFile(file, "property.rsc"));
        SCOPED_TRACE("sequence " + std::to_string(sequence) + ": " + test::hexOf(file));
        for (int step = 0; step < 10; ++step) {
            SCOPED_TRACE("step " + std::to_string(step));
            int what = uniform(random, 0, 2);
            if (what == 0) unicodeApply(random);
            if (what == 1) deletion(random);
            if (what == 2) forceApply(random);
            checkDocument();
            checkSave();
            if (HasFailure()) return;
        }
    }
    EXPECT_GT(refusedSaves, 0);  // the sequences reached a body too large to save
}

TEST_F(EditorProperty, UnicodeAppliesAloneLoadBackAsTheSameSegmentsAndEntries)
{
    Random random(424242);
    for (int sequence = 0; sequence < 100; ++sequence) {
        Bytes file = randomFile(random);
        editor.loadFile(test::writeTempFile(file, "property.rsc"));
        SCOPED_TRACE("sequence " + std::to_string(sequence) + ": " + test::hexOf(file));
        if (auto saved = checkSave()) {
            EXPECT_EQ(test::hexOf(*saved), test::hexOf(file));
            checkLoadsBack(*saved);
        }
        for (int step = 0; step < 8; ++step) {
            SCOPED_TRACE("step " + std::to_string(step));
            unicodeApply(random);
            checkDocument();
            if (auto saved = checkSave()) checkLoadsBack(*saved);
            if (HasFailure()) return;
        }
    }
}

}  // namespace
}  // namespace quillet
