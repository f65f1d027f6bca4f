#include "model/body_scan.h"

namespace quillet {

namespace {

class BodyScanner {
public:
    BodyScanner(const std::uint8_t* bytes, std::int64_t indexOffset, const IndexCuts& cuts,
                const ScannedSegmentHandler& onSegment)
        : bytes_(bytes), indexOffset_(indexOffset), cuts_(cuts), onSegment_(onSegment)
    {}

    void run(std::int64_t p)
    {
        const std::int64_t lastBodyPosition = indexOffset_ - 1;
        while (p < lastBodyPosition && going_) {
            if (cuts_.test(static_cast<std::size_t>(p))) flush(true);
            if (!going_) return;
            if (startsBlock(p)) {
                p = takeBlock(p);
            } else {
                takeDataByte(p);
                ++p;
            }
        }
        // The byte before the index is never tested for a cut or a marker.
        if (p == lastBodyPosition && going_) {
            takeDataByte(p);
            flush(true);
        }
    }

private:
    // A marker starts a block only when a pending byte can be its count and the text ends
    // before the index: otherwise the marker is data, so every body byte lands in one segment.
    bool startsBlock(std::int64_t p) const
    {
        if (bytes_[p] != UnicodeMarker || pendingLength_ == 0) return false;
        std::int64_t textEnd = p + 2 * bytes_[p - 1];  // position of the text's last byte
        return textEnd <= indexOffset_ - 1;
    }

    std::int64_t takeBlock(std::int64_t p)
    {
        --pendingLength_;  // the count byte belongs to the block
        flush(false);
        const std::int64_t size = 2 * bytes_[p - 1];
        emit({SegmentKind::Unicode, p - 1, size, true});
        return p + 1 + size;
    }

    void takeDataByte(std::int64_t p)
    {
        if (pendingLength_ == 0) pendingStart_ = p;
        ++pendingLength_;
    }

    // Ends the pending data segment and hands it on, when it holds bytes.
    void flush(bool clean)
    {
        if (pendingLength_ == 0) return;
        std::int64_t length = pendingLength_;
        pendingLength_ = 0;
        emit({SegmentKind::Data, pendingStart_, length, clean});
    }

    void emit(const ScannedSegment& segment)
    {
        if (going_) going_ = onSegment_(segment);
    }

    const std::uint8_t* bytes_;
    const std::int64_t indexOffset_;
    const IndexCuts& cuts_;
    const ScannedSegmentHandler& onSegment_;
    bool going_ = true;
    std::int64_t pendingStart_ = -1;
    std::int64_t pendingLength_ = 0;
};

}  // namespace

void scanBody(const std::uint8_t* bytes, std::int64_t indexOffset, const IndexCuts& cuts, std::int64_t start,
              const ScannedSegmentHandler& onSegment)
{
    BodyScanner(bytes, indexOffset, cuts, onSegment).run(start);
}

}  // namespace quillet
