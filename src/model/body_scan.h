#pragma once
#include <bitset>
#include <cstdint>
#include <functional>

#include "model/segment.h"

namespace quillet {

// One segment the body scan cuts: its kind, the file position of its first byte (a block's count
// byte) and the length of its data (a block's text, without count byte and marker).
struct ScannedSegment {
    SegmentKind kind = SegmentKind::Data;
    std::int64_t firstPosition = 0;
    std::int64_t dataLength = 0;
    // The scan holds no byte of a pending data segment right behind this one, so that what
    // follows is cut from the bytes behind alone: after a block, or before an index entry.
    bool cleanAfter = false;

    std::int64_t dataStart() const { return firstPosition + (kind == SegmentKind::Unicode ? 2 : 0); }
    std::int64_t end() const { return dataStart() + dataLength; }
};

// Positions at which an index entry cuts the body.
using IndexCuts = std::bitset<65536>;
template <typename Entries>
IndexCuts cutsOf(const Entries& entries)
{
    IndexCuts cuts;
    for (std::uint16_t entry : entries) cuts.set(entry);
    return cuts;
}

// The body scan of an indexed file, as loading cuts it: data segments cut at every index entry,
// unicode blocks found by their marker. `bytes` holds the file from position 0 up to the index,
// which begins at `indexOffset`. The scan starts at `start` with nothing pending (position 4 for
// a whole body) and hands each segment to `onSegment` in file order, until that returns false or
// the body ends.
using ScannedSegmentHandler = std::function<bool(const ScannedSegment&)>;
void scanBody(const std::uint8_t* bytes, std::int64_t indexOffset, const IndexCuts& cuts, std::int64_t start,
              const ScannedSegmentHandler& onSegment);

// Where the body of an indexed file starts.
constexpr std::int64_t BodyStart = 4;

}  // namespace quillet
