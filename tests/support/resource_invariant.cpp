#include "support/resource_invariant.h"

#include <algorithm>
#include <variant>

#include "support/byte_strings.h"

namespace quillet::test {

namespace {
std::uint16_t wordAt(const Bytes& file, std::size_t at)
{
    return static_cast<std::uint16_t>(file[at] | (file[at + 1] << 8));
}
}  // namespace

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

}  // namespace quillet::test
