// Random command sequences on random files, read from a seeded generator by the driver the
// fuzz target runs (tests/support/command_driver.h), which checks after every command the rules
// every command keeps: among them, every resource that began at an index entry and that a change
// did not touch is found again, after saving and loading, at that entry with the same bytes; and
// undo and redo give back each document exactly.
#include <gtest/gtest.h>

#include <random>

#include "model/saver.h"
#include "support/command_driver.h"
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
    file.reserve(4 + body.size() + 2 * entries.size() + 2);
    test::putWord(file, indexOffset);
    test::putWord(file, static_cast<std::uint16_t>(uniform(random, 0, 0xFFFF)));
    file.insert(file.end(), body.begin(), body.end());
    for (std::uint16_t entry : entries) test::putWord(file, entry);
    test::putWord(file, indexOffset);
    return file;
}

// The commands' bytes, drawn from the generator. The commands come in the runs a person makes
// (select a segment, mark cells, force unicode, type a line, apply), so that edits build on edits.
class RandomSource : public test::ByteSource {
public:
    explicit RandomSource(Random& random) : random_(random) {}
    bool done() const override { return false; }
    std::uint8_t byte() override { return static_cast<std::uint8_t>(random_()); }
    std::uint8_t command() override
    {
        // The driver's commands: 0 select, 5 mark cells, 6 force unicode, 7 type a line,
        // 8 apply it, 9 delete, 10 type a digit, 13 replace, 14 undo, 15 redo, 16 import texts.
        static const std::vector<std::vector<std::uint8_t>> runs = {
            {0, 7, 8},    {0, 8},    {0, 9},       {0, 9}, {0, 5, 6, 7, 8},
            {0, 6, 7, 8}, {0, 6, 8}, {5, 6, 7, 8}, {16},   {10, 10},
            {13},         {14},      {15},         {1},    {2},
            {3},          {4},       {11},         {12},   {17}};
        if (next_ == run_.size()) {
            run_ = runs[random_() % runs.size()];
            next_ = 0;
        }
        return run_[next_++];
    }

private:
    Random& random_;
    std::vector<std::uint8_t> run_;
    std::size_t next_ = 0;
};

using EditorProperty = test::EditorFixture;

TEST_F(EditorProperty, EveryCommandKeepsTheRulesOnRandomFiles)
{
    Random random(20261208);
    RandomSource commands(random);
    auto report = [](const test::Fault& fault) { ADD_FAILURE() << "broken: " << fault.rule << "\n" << fault.detail; };
    for (int sequence = 0; sequence < 400; ++sequence) {
        Bytes file = randomFile(random);
        open(file, "property.rsc");
        SCOPED_TRACE("sequence " + std::to_string(sequence) + ": " + test::hexOf(file));
        ASSERT_EQ(test::hexOf(savedImage(document())), test::hexOf(file)) << "an unchanged file saves as it was";
        if (!test::CommandDriver(editor, prompts, commands, report).run(100)) return;
    }
}

}  // namespace
}  // namespace quillet
