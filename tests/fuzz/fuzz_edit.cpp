// Drives the Editor through a sequence of commands read from the input, on a document read from
// the input, and checks the rules every command keeps: the document saves and its saved file
// loads back as the same file, every line builds, the segments sit where their offsets say, a
// change leaves every resource it did not touch at its entry with its bytes, a command that
// records nothing changes no byte, and undo and redo give back each document exactly, down to
// the one first opened.
//
// The input: a 16-bit length F (low byte first), F bytes of the file, then the commands, one
// byte naming each and the bytes it reads after it. A short input reads as zeros at its end.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/editor.h"
#include "fuzz/fuzz_check.h"
#include "model/codepage.h"
#include "model/file_io.h"
#include "model/loader.h"
#include "model/saver.h"
#include "support/resource_invariant.h"
#include "support/scripted_prompts.h"
#include "views/grid_geometry.h"

namespace quillet::fuzz {
namespace {

constexpr int MostCommands = 200;

class Script {
public:
    Script(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool done() const { return at_ >= size_; }
    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::uint16_t word() { return static_cast<std::uint16_t>(byte() | (byte() << 8)); }
    bool flag() { return (byte() & 1) != 0; }
    // A number in [0, n).
    std::size_t below(std::size_t n) { return n == 0 ? 0 : word() % n; }
    Bytes bytes(std::size_t count)
    {
        Bytes taken(data_ + at_, data_ + at_ + std::min(count, size_ - at_));
        at_ += taken.size();
        return taken;
    }

    // Units that meet the rules' edges: markers, unit 0, lone surrogates, characters that code
    // pages lack, texts longer than a block holds.
    std::u16string text()
    {
        std::uint8_t length = byte();
        std::size_t units = length >= 248 ? 250 + length % 12 : length % 10;
        std::u16string made;
        for (std::size_t i = 0; i < units; ++i) made.push_back(unit());
        return made;
    }
    char16_t unit()
    {
        switch (byte() % 10) {
        case 0: return static_cast<char16_t>(u'A' + byte() % 26);
        case 1: return static_cast<char16_t>(u'0' + byte() % 10);
        case 2: return u'?';
        case 3: return UnicodeMarker;
        case 4: return static_cast<char16_t>(0xAB00 | byte());
        case 5: return 0;
        case 6: return static_cast<char16_t>(0xD800 + byte());
        case 7: return static_cast<char16_t>(0xDC00 + byte());
        case 8: return u'\u0416';
        default: return static_cast<char16_t>(word());
        }
    }
    PatternMode mode() { return static_cast<PatternMode>(byte() % 3); }
    // Any cell, also the header row, column 0 and cells past the grid.
    GridCell cell(std::int64_t rowCount)
    {
        return {static_cast<std::int64_t>(below(static_cast<std::size_t>(rowCount) + 3)) - 1,
                static_cast<int>(byte() % (GridColumnCount + 3)) - 1};
    }
    MouseButton button() { return static_cast<MouseButton>(byte() % 3); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

const CodePage& codePageFor(std::uint8_t choice)
{
    static const CodePage pages[] = {*CodePage::byName("1252"), *CodePage::byName("1251"), *CodePage::byName("932")};
    return pages[choice % 3];
}

// A document as the history keeps it: its saved file and its lines. The text a forced run shows
// in its line is left out: setting it alone changes no byte and is not recorded.
struct Snapshot {
    Bytes image;
    std::vector<std::string> lines;
};

enum class Kind { Other, Undo, Redo };

class EditRun {
public:
    EditRun(Script& script, Document document) : script_(script), editor_(prompts_, codePageFor(script.byte()))
    {
        editor_.openDocument(std::move(document), "fuzz.rsc");
        points_.push_back(snapshot());
    }

    void run()
    {
        for (int n = 0; n < MostCommands && !script_.done(); ++n) {
            const int op = script_.byte() % 18;
            const Kind kind = op == UndoCommand ? Kind::Undo : op == RedoCommand ? Kind::Redo : Kind::Other;
            // Undo and redo first store a byte typed in the grid: a change of its own, checked so.
            if (kind != Kind::Other && editor_.state().gridEditor.open)
                checked(Kind::Other, [&] { editor_.gridFocusLost(); });
            checked(kind, [&] { perform(op); });
        }
        undoAndRedoEverything();
    }

private:
    const Document& document() const { return editor_.document(); }
    std::size_t segmentCount() const { return document().segments.size(); }

    void answer(int count)
    {
        prompts_.answers.clear();
        for (int i = 0; i < count; ++i) prompts_.answers.push_back(script_.flag());
    }

    static constexpr int UndoCommand = 14;
    static constexpr int RedoCommand = 15;

    template <typename Action>
    void checked(Kind kind, Action&& action)
    {
        const Document before = editor_.document();
        const std::size_t doneBefore = editor_.history().doneCount();
        prompts_.questions.clear();
        prompts_.messages.clear();
        action();
        if (tracing_) {
            Snapshot now = snapshot();
            std::fprintf(stderr, "done %zu: %s\n", editor_.history().doneCount(), test::hexOf(now.image).c_str());
            for (const std::string& line : now.lines) std::fprintf(stderr, "  %s\n", line.c_str());
        }
        check(before, doneBefore, kind);
    }

    // Reads the command's bytes in order (into locals where a call takes several) and runs it.
    void perform(int op)
    {
        const std::int64_t rows = editor_.state().rowCount;
        switch (op) {
        case 0: editor_.selectSegment(script_.below(segmentCount() + 2)); break;
        case 1: editor_.selectIndexLine(script_.below(document().indexTable.size() + 2)); break;
        case 2: script_.flag() ? editor_.nextSegment() : editor_.previousSegment(); break;
        case 3: {
            MouseButton button = script_.button();
            editor_.gridMousePress(button, script_.cell(rows));
            break;
        }
        case 4: {
            MouseButton button = script_.button();
            GridCell cell = script_.cell(rows);
            editor_.gridMouseRelease(button, cell, script_.flag());
            break;
        }
        case 5: {
            GridCell from = script_.cell(rows);
            editor_.gridMousePress(MouseButton::Left, from);
            editor_.gridMouseRelease(MouseButton::Left, script_.cell(rows), true);
            break;
        }
        case 6: editor_.forceUnicode(); break;
        case 7: editor_.textLineEdited(script_.text()); break;
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
            editor_.gridTypeCharacter(std::string(1, keys[script_.byte() % (sizeof keys - 1)]));
            break;
        }
        case 11:
            switch (script_.byte() % 4) {
            case 0: editor_.gridMoveCurrent(script_.cell(rows)); break;
            case 1: editor_.gridEditKey(); break;
            case 2: editor_.gridEditorEscape(); break;
            default: editor_.gridFocusLost(); break;
            }
            break;
        case 12:
            editor_.findFields() = FindFields{script_.text(), script_.mode()};
            editor_.searchForward(script_.flag());
            break;
        case 13: replace(); break;
        case UndoCommand: editor_.undo(); break;
        case RedoCommand: editor_.redo(); break;
        case 16: applyTexts(); break;
        default:
            if (script_.flag()) {
                prompts_.findDialogs.assign({{FindFields{script_.text(), script_.mode()}, script_.flag()}});
                editor_.find();
            } else {
                editor_.findNext();
            }
            break;
        }
    }

    // Mostly texts of one length, as the replace dialog lets through.
    void replace()
    {
        ReplaceFields& fields = editor_.replaceFields();
        fields.lookFor = script_.text();
        fields.replaceWith = script_.text();
        if (script_.flag()) fields.replaceWith.resize(fields.lookFor.size(), u'Z');
        fields.mode = script_.mode();
        fields.startFrom = script_.flag() ? ReplaceStart::Begin : ReplaceStart::CurrentPos;
        editor_.replaceAll(fields.startFrom == ReplaceStart::Begin);
    }

    void applyTexts()
    {
        std::vector<TextChange> texts;
        for (int count = script_.byte() % 4; count > 0; --count) {
            // Segment numbers count from 1; 0 and one past the last name no segment.
            std::size_t number = script_.below(segmentCount() + 2);
            texts.push_back({number, script_.text()});
        }
        editor_.applyTexts(texts);
    }

    Snapshot snapshot() const
    {
        Snapshot taken;
        try {
            taken.image = savedImage(document());
        } catch (const IoError& error) {
            fail("the document saves", error.what());
        }
        for (std::size_t j = 0; j < segmentCount(); ++j) document().segmentLine(j);
        Document withoutForcedTexts = document();
        for (Segment& segment : withoutForcedTexts.segments) segment.forcedText.reset();
        for (std::size_t k = 0; k < document().indexTable.size(); ++k) taken.lines.push_back(document().indexLine(k));
        for (std::size_t j = 0; j < segmentCount(); ++j) taken.lines.push_back(withoutForcedTexts.segmentLine(j));
        return taken;
    }

    // The segments follow one another from byte 4, each where its offset says, up to the index.
    void checkOffsets() const
    {
        const Document& doc = document();
        if (doc.noIndex || doc.header.length <= 4) return;
        std::int64_t position = 4;
        for (const Segment& segment : doc.segments) {
            if (segment.isUnicode()) {
                require(segment.offset == position, "a block's offset is its count byte");
                require(segment.size() % 2 == 0 && segment.size() <= 2 * 255,
                        "a block holds whole characters, 255 at most");
                position += 2 + segment.size();
            } else {
                require(segment.offset + 1 == position, "a data segment's offset is its first byte less one");
                position += segment.size();
            }
        }
        require(static_cast<std::uint64_t>(position) == bytesBeforeIndex(doc), "the segments reach the index");
    }

    void check(const Document& before, std::size_t doneBefore, Kind kind)
    {
        const std::optional<std::size_t> selected = editor_.state().selectedSegment;
        require(!selected || *selected < segmentCount(), "the selected segment exists");
        checkOffsets();
        Snapshot now = snapshot();
        // A saved file loads back as the same file; a 4-byte file's save is the one exception,
        // as its single entry then reads as the second header word.
        if (!document().noIndex && document().header.length != 4)
            requireSame(savedImage(parseResource(now.image)), now.image, "a saved file loads back as the same file");

        const std::size_t done = editor_.history().doneCount();
        if (kind == Kind::Undo) {
            require(done == (doneBefore == 0 ? 0 : doneBefore - 1), "undo takes back one change");
        } else if (kind == Kind::Redo) {
            require(done == doneBefore || done == doneBefore + 1, "redo does one change again");
        } else if (done == doneBefore + 1) {
            recordChange(before, now);
            return;
        } else if (done == doneBefore + 2) {
            recordTypedByteAndChange(before, now);
            return;
        } else {
            require(done == doneBefore, "a command records at most one change");
        }
        requireSame(now.image, historyPoint().image, "the document is the one the history says");
        if (now.lines != historyPoint().lines) fail("the lines are the ones the history says");
    }

    // A command that changes the document first stores a byte typed in the grid, as a change of
    // its own: each of the two is looked at on its own, through one undo and redo.
    void recordTypedByteAndChange(const Document& before, const Snapshot& now)
    {
        editor_.undo();
        const Change* typed = editor_.history().lastDone();
        require(typed && typed->steps.size() == 1 && std::holds_alternative<ByteWrite>(typed->steps[0]),
                "only a typed byte is stored before a command's own change");
        const Document afterTyped = editor_.document();
        recordChange(before, snapshot());
        editor_.redo();
        requireSame(snapshot().image, now.image, "redo gives back the change");
        recordChange(afterTyped, now);
    }

    void recordChange(const Document& before, const Snapshot& now)
    {
        const std::size_t doneBefore = editor_.history().doneCount() - 1;
        const Change& change = *editor_.history().lastDone();
        if (!before.noIndex) {
            std::vector<std::string> faults = test::untouchedResourceFaults(before, points_[doneBefore].image, change,
                                                                            now.image);
            if (!faults.empty())
                fail("a change leaves the resources it did not touch where they were",
                     test::describe(change) + "\n" + test::hexOf(points_[doneBefore].image) + "\n-> " +
                         test::hexOf(now.image) + "\n" + faults.front());
        }
        points_.resize(doneBefore + 1);
        points_.push_back(now);
    }

    // The document the history says for where it now stands.
    const Snapshot& historyPoint() const
    {
        const std::size_t done = editor_.history().doneCount();
        require(done < points_.size(), "the history holds only changes that were made");
        return points_[done];
    }

    void undoAndRedoEverything()
    {
        if (editor_.state().gridEditor.open) checked(Kind::Other, [&] { editor_.gridFocusLost(); });
        while (editor_.canUndo()) {
            editor_.undo();
            requireSame(snapshot().image, historyPoint().image, "undo gives back each document");
        }
        if (snapshot().lines != points_[0].lines) fail("undoing everything gives back the lines first shown");
        while (editor_.canRedo()) {
            editor_.redo();
            requireSame(snapshot().image, historyPoint().image, "redo gives back each document");
        }
    }

    Script& script_;
    test::ScriptedPrompts prompts_;
    Editor editor_;
    std::vector<Snapshot> points_;  // [d]: the document with d changes done
    // QUILLET_FUZZ_TRACE=1 shows the document after each command, to follow a failing input.
    const bool tracing_ = std::getenv("QUILLET_FUZZ_TRACE") != nullptr;
};

}  // namespace
}  // namespace quillet::fuzz

// libFuzzer calls this name.
// NOLINTNEXTLINE(readability-identifier-naming)
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace quillet::fuzz;
    Script script(data, size);
    std::size_t fileLength = script.word();
    quillet::Bytes file = script.bytes(fileLength);
    EditRun(script, quillet::parseResource(std::move(file))).run();
    return 0;
}
