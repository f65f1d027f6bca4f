#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/editor.h"
#include "model/bytes.h"
#include "support/scripted_prompts.h"

namespace quillet::test {

// A document as the history keeps it: its saved file and its lines (the index list's, then the
// segment list's). The text a forced run shows in its line is left out: setting it alone changes
// no byte and is not recorded. Throws IoError when the document cannot be saved.
struct Snapshot {
    Bytes image;
    std::vector<std::string> lines;
    bool operator==(const Snapshot&) const = default;
};
Snapshot snapshotOf(const Document& document);

// Undo and redo, and every other command.
enum class CommandKind { Other, Undo, Redo };

// What one command did, as the rules see it. A command that stored a typed byte before its own
// change is seen as two commands, one for each change.
struct CommandOutcome {
    CommandKind kind = CommandKind::Other;
    const Editor& editor;  // after the command
    const ScriptedPrompts& prompts;
    const Document& before;
    const Snapshot& beforeSnapshot;
    const Snapshot& now;
    std::size_t doneBefore = 0;  // the changes done before the command
    // The change the command recorded, if it recorded one; if not, the document the history
    // says is open.
    const Change* change = nullptr;
    const Snapshot* expected = nullptr;
};

// A rule a command broke, and what shows it.
struct Fault {
    std::string rule;
    std::string detail;
};

// The first rule of those every command keeps that this one broke, if any.
std::optional<Fault> brokenRule(const CommandOutcome& outcome);

}  // namespace quillet::test
