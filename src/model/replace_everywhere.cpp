#include "model/replace_everywhere.h"

#include <algorithm>

#include "model/change_builder.h"

namespace quillet {

namespace {

// A forward pass over the segments' data that hands each hit to `write`. Each search starts
// after the previous write, on the bytes as they now are, and no position between two hits
// matches those bytes; the plain position-by-position scan, which writes only at hits, sees
// exactly the same bytes at every position and so finds the same hits.
template <typename Write>
class ReplacePass {
public:
    ReplacePass(Write& write, const Bytes& pattern, const PatternFinder& find, Progress& progress, std::uint64_t total)
        : write_(write), pattern_(pattern), find_(find), progress_(progress), total_(total)
    {}

    // Searches a piece at a time, so that progress is told and a cancel is heard also when the
    // hits lie close together.
    void run(std::size_t s, const SegmentBytes& data, std::size_t from)
    {
        std::size_t position = from;
        std::size_t pieceEnd = position;
        while (position < data.size()) {
            if (position >= pieceEnd) {
                if (pieceEnd > from && !progress_.report(passed_ + (pieceEnd - from), total_)) throw WorkCancelled();
                pieceEnd = std::min(data.size(), position + static_cast<std::size_t>(ProgressStep));
            }
            std::size_t searchEnd = std::min(data.size(), pieceEnd + pattern_.size() - 1);
            auto hit = find_(data.data(), searchEnd, position);
            if (!hit || *hit >= pieceEnd) {
                position = pieceEnd;
                continue;
            }
            write_(BytePlace{s, *hit});
            position = *hit + 1;
        }
        passed_ += data.size() - std::min(from, data.size());
    }

private:
    Write& write_;
    const Bytes& pattern_;
    const PatternFinder& find_;
    Progress& progress_;
    std::uint64_t total_;
    std::uint64_t passed_ = 0;
};

// Every position of an empty pattern matches, and writing nothing changes nothing.
std::int64_t emptyPatternCount(const Document& document, ReplaceScope scope)
{
    std::int64_t count = 0;
    for (std::size_t j = scope.firstSegment; j < document.segments.size(); ++j) {
        std::size_t size = document.segments[j].data.size();
        std::size_t from = j == scope.firstSegment ? scope.startIndex : 0;
        if (from <= size) count += static_cast<std::int64_t>(size - from + 1);
    }
    return count;
}

std::int64_t placesOf(const Change& change)
{
    return change.empty() ? 0 : static_cast<std::int64_t>(std::get<ReplaceWrites>(change.steps.front()).places.size());
}

template <typename Write>
void replaceInScope(Document& document, ReplaceScope scope, const Bytes& pattern, const PatternFinder& find,
                    Progress& progress, Write& write)
{
    std::uint64_t total = 0;
    for (std::size_t j = scope.firstSegment; j < document.segments.size(); ++j)
        total += document.segments[j].data.size();
    ReplacePass<Write> pass(write, pattern, find, progress, total);
    for (std::size_t j = scope.firstSegment; j < document.segments.size(); ++j)
        pass.run(j, document.segments[j].data, j == scope.firstSegment ? scope.startIndex : 0);
}

// Each hit written and counted, none kept: the memory stays the same however many there are.
std::int64_t replaceUnrecorded(Document& document, ReplaceScope scope, const Bytes& pattern, const Bytes& replacement,
                               const PatternFinder& find, Progress& progress)
{
    const ReplaceWrites writes{pattern, replacement, {}};
    std::int64_t count = 0;
    auto write = [&](const BytePlace& place) {
        writeReplacementAt(document, writes, place);
        ++count;
    };
    replaceInScope(document, scope, pattern, find, progress, write);
    return count;
}

}  // namespace

ReplaceOutcome replaceEverywhere(Document& document, ReplaceScope scope, const Bytes& pattern, const Bytes& replacement,
                                 const PatternFinder& find, Progress& progress, ReplaceRecord record)
{
    if (pattern.empty()) return {Change{}, emptyPatternCount(document, scope)};
    // A change of length would corrupt the offsets.
    if (pattern.size() != replacement.size()) return {};
    if (record == ReplaceRecord::Nothing)
        return {Change{}, replaceUnrecorded(document, scope, pattern, replacement, find, progress)};
    Change change = buildChange(document, [&](ChangeBuilder& builder) {
        builder.add(ReplaceWrites{pattern, replacement, {}});
        auto write = [&builder](const BytePlace& place) { builder.addReplaceWrite(place); };
        replaceInScope(document, scope, pattern, find, progress, write);
    });
    std::int64_t count = placesOf(change);
    // Nothing written, nothing to undo.
    if (count == 0) change.steps.clear();
    return {std::move(change), count};
}

}  // namespace quillet
