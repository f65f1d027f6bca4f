#include "support/edit_rules.h"

#include <algorithm>
#include <map>
#include <variant>

#include "model/loader.h"
#include "model/saver.h"
#include "support/byte_strings.h"

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

// The ranges a step changes, read off the document before the step.
std::vector<FileRange> rangesOf(const Document& document, const EditStep& step)
{
    if (const auto* splice = std::get_if<BodySplice>(&step)) {
        const Segment& segment = document.segments[splice->segment];
        if (segment.isUnicode()) {
            auto text = static_cast<std::int64_t>(segment.data.size());
            std::int64_t grown = static_cast<std::int64_t>(splice->inserted.size()) -
                                 static_cast<std::int64_t>(splice->removed.size());
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
            ranges.push_back(
                {document.dataStart(document.segments[place.segment]) + static_cast<std::int64_t>(place.index), length,
                 length});
        return ranges;
    }
    return {};
}

// The steps of a change, readably.
std::string describe(const Change& change)
{
    std::string text;
    for (const EditStep& step : change.steps) {
        if (const auto* splice = std::get_if<BodySplice>(&step))
            text += "[splice " + std::to_string(splice->segment) + " at " + std::to_string(splice->from) + ": " +
                    hexOf(splice->removed) + " -> " + hexOf(splice->inserted) + "]";
        if (const auto* write = std::get_if<ByteWrite>(&step))
            text += "[byte " + std::to_string(write->segment) + " at " + std::to_string(write->index) + "]";
        if (const auto* removal = std::get_if<SegmentRemoval>(&step))
            text += "[removal " + std::to_string(removal->segment) + "]";
        if (std::holds_alternative<ForcedTextChange>(step)) text += "[forced text]";
        if (const auto* writes = std::get_if<ReplaceWrites>(&step))
            text += "[replace " + hexOf(writes->pattern) + " -> " + hexOf(writes->replacement) + " at " +
                    std::to_string(writes->places.size()) + " place(s)]";
    }
    return text;
}

// The resources of `beforeImage` that the steps of `change` (done on `before`, whose saved image
// it is) did not touch are found in `afterImage` at their entries with the same bytes. Returns
// one text per resource that is not, nothing when all are.
std::vector<std::string> untouchedResourceFaults(const Document& before, const Bytes& beforeImage, const Change& change,
                                                 const Bytes& afterImage)
{
    std::map<std::size_t, Resource> old = resourcesOf(beforeImage);
    std::map<std::size_t, Resource> now = resourcesOf(afterImage);
    std::map<std::size_t, bool> touched;
    Document replay = before;
    for (const EditStep& step : change.steps) {
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
    std::vector<std::string> faults;
    std::int64_t lastBodyByte = wordAt(afterImage, 0) - 1;
    for (const auto& [entry, resource] : old) {
        if (touched[entry] || resource.start == lastBodyByte) continue;
        std::string where = "entry " + std::to_string(entry) + ": ";
        auto found = now.find(entry);
        if (found == now.end()) {
            faults.push_back(where + "no longer starts a resource");
            continue;
        }
        if (found->second.start != resource.start)
            faults.push_back(where + "starts at " + std::to_string(found->second.start) + ", not at " +
                             std::to_string(resource.start));
        Bytes bytes = found->second.bytes;
        if (bytes.size() == resource.bytes.size() + 1 &&
            found->second.start + static_cast<std::int64_t>(bytes.size()) == lastBodyByte + 1)
            bytes.pop_back();
        if (bytes != resource.bytes)
            faults.push_back(where + "holds " + hexOf(bytes) + ", not " + hexOf(resource.bytes));
    }
    return faults;
}

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

// The lines a saved image loads as, or nothing when it does not load as a file with an index.
std::optional<std::vector<std::string>> linesOnLoad(const Bytes& image)
{
    Document reloaded = parseResource(image);
    if (reloaded.noIndex) return std::nullopt;
    return snapshotOf(reloaded).lines;
}

bool askedBeforeApplying(const CommandOutcome& outcome)
{
    return std::any_of(outcome.prompts.questions.begin(), outcome.prompts.questions.end(),
                       [](const auto& asked) { return asked.kind == MessageKind::Warning; });
}

// What the person sees is what the saved file loads as: an edit that would load back otherwise is
// said before it applies. Only edits of a document that loaded as shown are held to it.
std::optional<std::string> changeLoadsAsShownOrWasSaid(const CommandOutcome& outcome)
{
    const Document& document = outcome.editor.document();
    if (outcome.kind != CommandKind::Other || !outcome.change || askedBeforeApplying(outcome)) return Holds;
    if (document.noIndex || document.header.length == 4 || outcome.before.header.length == 4) return Holds;
    if (linesOnLoad(outcome.beforeSnapshot.image) != outcome.beforeSnapshot.lines) return Holds;
    std::optional<std::vector<std::string>> loaded = linesOnLoad(outcome.now.image);
    if (loaded == outcome.now.lines) return Holds;
    std::string shown;
    std::string onLoad;
    for (const std::string& line : outcome.now.lines) shown += "\n   " + line;
    if (loaded)
        for (const std::string& line : *loaded) onLoad += "\n   " + line;
    return describe(*outcome.change) + "\nshown:" + shown + "\nloads as:" + (loaded ? onLoad : " no index");
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
    {"an edit that would load back otherwise is said before it applies", changeLoadsAsShownOrWasSaid},
};

}  // namespace

std::optional<Fault> brokenRule(const CommandOutcome& outcome)
{
    for (const Rule& rule : Rules)
        if (std::optional<std::string> detail = rule.check(outcome)) return Fault{rule.name, *detail};
    return std::nullopt;
}

}  // namespace quillet::test
