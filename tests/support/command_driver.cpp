#include "support/command_driver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <variant>

#include "model/file_io.h"
#include "support/byte_strings.h"
#include "views/grid_geometry.h"

namespace quillet::test {

std::uint16_t ByteSource::word()
{
    std::uint8_t low = byte();
    std::uint8_t high = byte();
    return static_cast<std::uint16_t>(low | (high << 8));
}

Bytes BufferSource::bytes(std::size_t count)
{
    Bytes taken(data_ + at_, data_ + at_ + std::min(count, size_ - at_));
    at_ += taken.size();
    return taken;
}

namespace {

constexpr int UndoCommand = 14;
constexpr int RedoCommand = 15;
constexpr int CommandCount = 18;

char16_t unit(ByteSource& source)
{
    switch (source.byte() % 10) {
    case 0: return static_cast<char16_t>(u'A' + source.byte() % 26);
    case 1: return static_cast<char16_t>(u'0' + source.byte() % 10);
    case 2: return u'?';
    case 3: return UnicodeMarker;
    case 4: return static_cast<char16_t>(0xAB00 | source.byte());
    case 5: return 0;
    case 6: return static_cast<char16_t>(0xD800 + source.byte());
    case 7: return static_cast<char16_t>(0xDC00 + source.byte());
    case 8: return u'\u0416';
    default: return static_cast<char16_t>(source.word());
    }
}

// Units that meet the rules' edges: markers, unit 0, lone surrogates, characters that code pages
// lack, texts longer than a block holds.
std::u16string text(ByteSource& source)
{
    std::uint8_t length = source.byte();
    std::size_t units = length >= 248 ? 250 + length % 12 : length % 10;
    std::u16string made;
    for (std::size_t i = 0; i < units; ++i) made.push_back(unit(source));
    return made;
}

PatternMode mode(ByteSource& source)
{
    return static_cast<PatternMode>(source.byte() % 3);
}

// Any cell, also the header row, column 0 and cells past the grid.
GridCell cell(ByteSource& source, std::int64_t rowCount)
{
    auto row = static_cast<std::int64_t>(source.below(static_cast<std::size_t>(rowCount) + 3)) - 1;
    return {row, static_cast<int>(source.byte() % (GridColumnCount + 3)) - 1};
}

MouseButton button(ByteSource& source)
{
    return static_cast<MouseButton>(source.byte() % 3);
}

}  // namespace

CommandDriver::CommandDriver(Editor& editor, ScriptedPrompts& prompts, ByteSource& source, Report report)
    : editor_(editor), prompts_(prompts), source_(source), report_(std::move(report))
{
    Snapshot first;
    if (takeSnapshot(first)) points_.push_back(std::move(first));
}

bool CommandDriver::run(int most)
{
    for (int n = 0; n < most && !failed_ && !source_.done(); ++n) {
        const int op = source_.command() % CommandCount;
        const bool history = op == UndoCommand || op == RedoCommand;
        // Undo and redo first store a byte typed in the grid: a change of its own, checked so.
        if (history && editor_.state().gridEditor.open) checked(CommandKind::Other, [&] { editor_.gridFocusLost(); });
        // Undo would first take back typing held in the text line, and redo ask about it: the
        // person applies it (Enter) or takes it back first, and undo and redo then move a change.
        if (history && editor_.lineHoldsTyping()) checked(CommandKind::Other, [&] { settleTyping(); });
        // A command leaving typing held asks whether to apply it: here the answer drops it or
        // cancels the command (applying it too would make two changes of one command).
        prompts_.typingChoices.assign({source_.flag() ? TypingChoice::Discard : TypingChoice::Cancel});
        const CommandKind kind = op == UndoCommand   ? CommandKind::Undo
                                 : op == RedoCommand ? CommandKind::Redo
                                                     : CommandKind::Other;
        checked(kind, [&] { perform(op); });
    }
    if (editor_.state().gridEditor.open) checked(CommandKind::Other, [&] { editor_.gridFocusLost(); });
    if (editor_.lineHoldsTyping()) checked(CommandKind::Other, [&] { settleTyping(); });
    while (!failed_ && editor_.canUndo()) checked(CommandKind::Undo, [&] { editor_.undo(); });
    while (!failed_ && editor_.canRedo()) checked(CommandKind::Redo, [&] { editor_.redo(); });
    return !failed_;
}

// Reads the command's bytes in order (into locals where a call takes several) and runs it.
void CommandDriver::perform(int op)
{
    const std::int64_t rows = editor_.state().rowCount;
    switch (op) {
    case 0: editor_.selectSegment(source_.below(segmentCount() + 2)); break;
    case 1: editor_.selectIndexLine(source_.below(document().indexTable.size() + 2)); break;
    case 2: source_.flag() ? editor_.nextSegment() : editor_.previousSegment(); break;
    case 3: {
        MouseButton pressed = button(source_);
        editor_.gridMousePress(pressed, cell(source_, rows));
        break;
    }
    case 4: {
        MouseButton released = button(source_);
        GridCell at = cell(source_, rows);
        editor_.gridMouseRelease(released, at, source_.flag());
        break;
    }
    case 5: {
        GridCell from = cell(source_, rows);
        editor_.gridMousePress(MouseButton::Left, from);
        editor_.gridMouseRelease(MouseButton::Left, cell(source_, rows), true);
        break;
    }
    case 6: editor_.forceUnicode(); break;
    case 7: editor_.textLineEdited(text(source_)); break;
    case 8:
        answer(3);
        editor_.applyTextLine();
        break;
    case 9:
        answer(1);
        editor_.deleteCurrentSegment();
        break;
    case 10: {
        static const char keys[] = "0123456789abcdefABCDEFxz $";
        editor_.gridTypeCharacter(std::string(1, keys[source_.byte() % (sizeof keys - 1)]));
        break;
    }
    case 11:
        switch (source_.byte() % 4) {
        case 0: editor_.gridMoveCurrent(cell(source_, rows)); break;
        case 1: editor_.gridEditKey(); break;
        case 2: editor_.gridEditorEscape(); break;
        default: editor_.gridFocusLost(); break;
        }
        break;
    case 12:
        editor_.findFields() = FindFields{text(source_), mode(source_)};
        editor_.searchForward(source_.flag());
        break;
    case 13: replace(); break;
    case UndoCommand: editor_.undo(); break;
    case RedoCommand: editor_.redo(); break;
    case 16: applyTexts(); break;
    default:
        if (source_.flag()) {
            prompts_.findDialogs.assign({{FindFields{text(source_), mode(source_)}, source_.flag()}});
            editor_.find();
        } else {
            editor_.findNext();
        }
        break;
    }
}

void CommandDriver::settleTyping()
{
    if (source_.flag()) {
        answer(3);
        editor_.applyTextLine();
    }
    if (editor_.lineHoldsTyping()) editor_.undo();  // takes back the typing only
}

void CommandDriver::answer(int count)
{
    prompts_.answers.clear();
    for (int i = 0; i < count; ++i) prompts_.answers.push_back(source_.flag());
}

// Mostly texts of one length, as the replace dialog lets through.
void CommandDriver::replace()
{
    ReplaceFields& fields = editor_.replaceFields();
    fields.lookFor = text(source_);
    fields.replaceWith = text(source_);
    if (source_.flag()) fields.replaceWith.resize(fields.lookFor.size(), u'Z');
    fields.mode = mode(source_);
    fields.startFrom = source_.flag() ? ReplaceStart::Begin : ReplaceStart::CurrentPos;
    editor_.replaceAll(fields.startFrom == ReplaceStart::Begin);
}

void CommandDriver::applyTexts()
{
    std::vector<TextChange> texts;
    for (int count = source_.byte() % 4; count > 0; --count) {
        // Segment numbers count from 1; 0 and one past the last name no segment.
        std::size_t number = source_.below(segmentCount() + 2);
        texts.push_back({number, text(source_)});
    }
    editor_.applyTexts(texts);
}

void CommandDriver::checked(CommandKind kind, const std::function<void()>& command)
{
    const Document before = document();
    const std::size_t doneBefore = editor_.history().doneCount();
    prompts_.questions.clear();
    prompts_.messages.clear();
    command();
    // QUILLET_FUZZ_TRACE=1 shows the document after each command, to follow a failing run.
    static const bool tracing = std::getenv("QUILLET_FUZZ_TRACE") != nullptr;
    Snapshot now;
    if (tracing && takeSnapshot(now)) {
        std::fprintf(stderr, "done %zu: %s\n", editor_.history().doneCount(), hexOf(now.image).c_str());
        for (const std::string& line : now.lines) std::fprintf(stderr, "  %s\n", line.c_str());
    }
    if (!failed_) checkCommand(kind, before, doneBefore);
}

void CommandDriver::checkCommand(CommandKind kind, const Document& before, std::size_t doneBefore)
{
    Snapshot now;
    if (!takeSnapshot(now)) return;
    const std::size_t done = editor_.history().doneCount();
    const char* const madeChanges = "the history holds only the changes that were made";
    if (doneBefore >= points_.size()) return fail(madeChanges);
    if (kind == CommandKind::Other && done == doneBefore + 2) return checkTypedByteAndChange(before, doneBefore, now);
    const Change* change = kind == CommandKind::Other && done == doneBefore + 1 ? editor_.history().lastDone()
                                                                                : nullptr;
    if (!change && done >= points_.size()) return fail(madeChanges);
    check({kind, editor_, prompts_, before, points_[doneBefore], now, doneBefore, change,
           change ? nullptr : &points_[done]});
}

// A command that changes the document first stores a byte typed in the grid, as a change of its
// own: each of the two is looked at on its own, through one undo and redo.
void CommandDriver::checkTypedByteAndChange(const Document& before, std::size_t doneBefore, const Snapshot& now)
{
    editor_.undo();
    const Change* typed = editor_.history().lastDone();
    if (!typed || typed->steps.size() != 1 || !std::holds_alternative<ByteWrite>(typed->steps[0]))
        return fail("only a typed byte is stored before a command's own change");
    const Document afterTyped = document();
    Snapshot typedNow;
    if (!takeSnapshot(typedNow)) return;
    check({CommandKind::Other, editor_, prompts_, before, points_[doneBefore], typedNow, doneBefore, typed});
    if (failed_) return;
    editor_.redo();
    Snapshot redone;
    if (!takeSnapshot(redone)) return;
    if (redone.image != now.image) return fail("redo gives back the change", hexOf(redone.image));
    check({CommandKind::Other, editor_, prompts_, afterTyped, points_[doneBefore + 1], now, doneBefore + 1,
           editor_.history().lastDone()});
}

void CommandDriver::check(const CommandOutcome& outcome)
{
    if (std::optional<Fault> fault = brokenRule(outcome)) return fail(fault->rule, fault->detail);
    if (!outcome.change) return;
    points_.resize(outcome.doneBefore + 1);
    points_.push_back(outcome.now);
}

bool CommandDriver::takeSnapshot(Snapshot& taken)
{
    try {
        taken = snapshotOf(document());
        return true;
    } catch (const IoError& error) {
        fail("the document saves", error.what());
        return false;
    }
}

void CommandDriver::fail(const std::string& rule, const std::string& detail)
{
    if (failed_) return;
    failed_ = true;
    report_({rule, detail});
}

}  // namespace quillet::test
