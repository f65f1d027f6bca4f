#include "support/edit_rules.h"

#include "model/loader.h"
#include "model/saver.h"
#include "support/byte_strings.h"
#include "support/resource_invariant.h"

namespace quillet::test {

Snapshot snapshotOf(const Document& document)
{
    Snapshot taken{savedImage(document), {}};
    for (std::size_t k = 0; k < document.indexTable.size(); ++k) taken.lines.push_back(document.indexLine(k));
    Document withoutForcedTexts = document;
    for (Segment& segment : withoutForcedTexts.segments) segment.forcedText.reset();
    for (std::size_t j = 0; j < document.segments.size(); ++j) {
        document.segmentLine(j);  // builds, forced text and all
        taken.lines.push_back(withoutForcedTexts.segmentLine(j));
    }
    return taken;
}

namespace {

// A rule holds when its check finds nothing; otherwise the check says what shows it broken.
using Check = std::optional<std::string> (*)(const CommandOutcome&);
struct Rule {
    const char* name;
    Check check;
};

const std::optional<std::string> Holds;

std::optional<std::string> selectedSegmentExists(const CommandOutcome& outcome)
{
    std::optional<std::size_t> selected = outcome.editor.state().selectedSegment;
    if (!selected || *selected < outcome.editor.document().segments.size()) return Holds;
    return "segment " + std::to_string(*selected) + " is selected";
}

// A block's offset is its count byte, a data segment's the byte before its first.
std::optional<std::string> segmentsInPlace(const CommandOutcome& outcome)
{
    const Document& document = outcome.editor.document();
    if (document.noIndex || document.header.length <= 4) return Holds;
    std::int64_t position = 4;
    for (std::size_t j = 0; j < document.segments.size(); ++j) {
        const Segment& segment = document.segments[j];
        std::int64_t first = segment.isUnicode() ? segment.offset : segment.offset + 1;
        if (first != position)
            return "segment " + std::to_string(j) + " begins at " + std::to_string(first) + ", not at " +
                   std::to_string(position);
        if (segment.isUnicode() && (segment.size() % 2 != 0 || segment.size() > 2 * 255))
            return "block " + std::to_string(j) + " holds " + std::to_string(segment.size()) + " bytes";
        position += segment.size() + (segment.isUnicode() ? 2 : 0);
    }
    if (static_cast<std::uint64_t>(position) == bytesBeforeIndex(document)) return Holds;
    return "the segments end at " + std::to_string(position) + ", the index begins at " +
           std::to_string(bytesBeforeIndex(document));
}

// A 4-byte file's save is the one exception: its single entry then reads as the second header word.
std::optional<std::string> savedFileLoadsBack(const CommandOutcome& outcome)
{
    const Document& document = outcome.editor.document();
    if (document.noIndex || document.header.length == 4) return Holds;
    Document reloaded = parseResource(outcome.now.image);
    if (reloaded.noIndex) return "loads as a file without index: " + hexOf(outcome.now.image);
    Bytes again = savedImage(reloaded);
    if (again == outcome.now.image) return Holds;
    return "saved   " + hexOf(outcome.now.image) + "\nreloaded " + hexOf(again);
}

std::optional<std::string> historyCountsOneChange(const CommandOutcome& outcome)
{
    std::size_t before = outcome.doneBefore;
    std::size_t done = outcome.editor.history().doneCount();
    bool holds = outcome.kind == CommandKind::Undo ? done == (before == 0 ? 0 : before - 1)
                                                   : done == before || done == before + 1;
    if (holds) return Holds;
    return std::to_string(before) + " changes done before, " + std::to_string(done) + " after";
}

std::optional<std::string> untouchedResourcesStay(const CommandOutcome& outcome)
{
    if (!outcome.change || outcome.before.noIndex) return Holds;
    std::vector<std::string> faults = untouchedResourceFaults(outcome.before, outcome.beforeSnapshot.image,
                                                              *outcome.change, outcome.now.image);
    if (faults.empty()) return Holds;
    return describe(*outcome.change) + "\n   " + hexOf(outcome.beforeSnapshot.image) + "\n-> " +
           hexOf(outcome.now.image) + "\n" + faults.front();
}

std::optional<std::string> documentIsTheHistorys(const CommandOutcome& outcome)
{
    if (!outcome.expected || outcome.now == *outcome.expected) return Holds;
    return "found    " + hexOf(outcome.now.image) + "\nexpected " + hexOf(outcome.expected->image) +
           (outcome.now.image == outcome.expected->image ? "\n(the lines differ)" : "");
}

// The rules every command keeps. A new rule is one more line here.
const Rule Rules[] = {
    {"the selected segment exists", selectedSegmentExists},
    {"the segments follow one another from byte 4 up to the index", segmentsInPlace},
    {"a saved file loads back as the same file", savedFileLoadsBack},
    {"a command records one change at most, undo takes one back and redo does one again", historyCountsOneChange},
    {"a change leaves the resources it did not touch where they were", untouchedResourcesStay},
    {"a command that records no change leaves the document the history says", documentIsTheHistorys},
};

}  // namespace

std::optional<Fault> brokenRule(const CommandOutcome& outcome)
{
    for (const Rule& rule : Rules)
        if (std::optional<std::string> detail = rule.check(outcome)) return Fault{rule.name, *detail};
    return std::nullopt;
}

}  // namespace quillet::test
