#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/editor.h"
#include "support/edit_rules.h"
#include "support/scripted_prompts.h"

namespace quillet::test {

// The bytes the commands are read from: a fuzzer's input, or a seeded generator's numbers.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual bool done() const = 0;
    // The next byte; 0 once the source has run out.
    virtual std::uint8_t byte() = 0;
    // The byte naming the next command: a source may favour some commands.
    virtual std::uint8_t command() { return byte(); }

    std::uint16_t word();  // low byte first
    bool flag() { return (byte() & 1) != 0; }
    // A number in [0, n), read only when there is a choice.
    std::size_t below(std::size_t n) { return n == 0 ? 0 : word() % n; }
};

// The bytes of a buffer, in turn.
class BufferSource : public ByteSource {
public:
    BufferSource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool done() const override { return at_ >= size_; }
    std::uint8_t byte() override { return at_ < size_ ? data_[at_++] : 0; }
    // The next `count` bytes, fewer where the buffer ends.
    Bytes bytes(std::size_t count);

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// Drives an Editor through commands read from a source, each a byte naming it and the bytes it
// reads after it: the lists, the grid's mouse and keys, force unicode, the text line, deletion,
// find, replace, the texts import, undo and redo. After every command it checks the rules every
// command keeps (support/edit_rules.h); at the end it undoes every change and does each again.
// The first broken rule is reported and ends the run.
class CommandDriver {
public:
    using Report = std::function<void(const Fault&)>;
    // The document to drive is open in the editor, with a fresh history.
    CommandDriver(Editor& editor, ScriptedPrompts& prompts, ByteSource& source, Report report);

    // Runs at most `most` commands, fewer when the source runs out. False when a rule broke.
    bool run(int most);

private:
    const Document& document() const { return editor_.document(); }
    std::size_t segmentCount() const { return document().segments.size(); }
    void perform(int op);
    void answer(int count);
    // Applies the typing held in the text line or takes it back.
    void settleTyping();
    void replace();
    void applyTexts();

    // Runs a command and checks what it did.
    void checked(CommandKind kind, const std::function<void()>& command);
    void checkCommand(CommandKind kind, const Document& before, std::size_t doneBefore);
    void checkTypedByteAndChange(const Document& before, std::size_t doneBefore, const Snapshot& now);
    // Checks one outcome; records the document after a change as the history's next point.
    void check(const CommandOutcome& outcome);
    bool takeSnapshot(Snapshot& taken);
    void fail(const std::string& rule, const std::string& detail = "");

    Editor& editor_;
    ScriptedPrompts& prompts_;
    ByteSource& source_;
    Report report_;
    bool failed_ = false;
    std::vector<Snapshot> points_;  // [d]: the document with d changes done
};

}  // namespace quillet::test
