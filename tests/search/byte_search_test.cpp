#include "search/byte_search.h"

#include <random>

#include <gtest/gtest.h>

#include "support/byte_strings.h"

namespace quillet {
namespace {

using test::bytesFromHex;
using test::hexOf;

std::vector<Segment> segmentsOf(std::initializer_list<const char*> hexData)
{
    std::vector<Segment> segments;
    for (const char* text : hexData) {
        Segment segment;
        segment.data = bytesFromHex(text);
        segments.push_back(segment);
    }
    return segments;
}

// The plain scan the fast search must agree with: every position, the whole pattern compared.
bool matchesAt(const SegmentBytes& data, std::size_t p, const Bytes& pattern)
{
    for (std::size_t t = 0; t < pattern.size(); ++t)
        if (data[p + t] != pattern[t]) return false;
    return true;
}

std::optional<SearchHit> naiveFind(const std::vector<Segment>& segments, std::size_t first, std::size_t start,
                                   const Bytes& pattern)
{
    for (std::size_t j = first; j < segments.size(); ++j) {
        const SegmentBytes& data = segments[j].data;
        for (std::size_t p = j == first ? start : 0; p + pattern.size() <= data.size(); ++p)
            if (matchesAt(data, p, pattern)) return SearchHit{j, p};
    }
    return std::nullopt;
}

std::int64_t naiveReplace(std::vector<Segment>& segments, std::size_t first, std::size_t start, const Bytes& pattern,
                          const Bytes& replacement)
{
    std::int64_t count = 0;
    for (std::size_t j = first; j < segments.size(); ++j) {
        SegmentBytes& data = segments[j].data;
        for (std::size_t p = j == first ? start : 0; p + pattern.size() <= data.size(); ++p) {
            if (!matchesAt(data, p, pattern)) continue;
            ++count;
            for (std::size_t t = 0; t < replacement.size(); ++t) data[p + t] = replacement[t];
        }
    }
    return count;
}

// Replaces as the editor does and counts the replacements.
std::int64_t replaceCount(std::vector<Segment>& segments, std::size_t first, std::size_t start, const Bytes& pattern,
                          const Bytes& replacement)
{
    NoProgress progress;
    Document document;
    document.segments = std::move(segments);
    std::int64_t count = replaceInDocument(document, {first, start}, pattern, replacement, progress).count;
    segments = std::move(document.segments);
    return count;
}

TEST(FindFirst, FindsOverlappingOccurrencesInTurn)
{
    auto segments = segmentsOf({"41 41 41 41"});
    Bytes pattern = bytesFromHex("41 41");
    EXPECT_EQ(findInSegments(segments, 0, 0, pattern), (SearchHit{0, 0}));
    EXPECT_EQ(findInSegments(segments, 0, 1, pattern), (SearchHit{0, 1}));
    EXPECT_EQ(findInSegments(segments, 0, 2, pattern), (SearchHit{0, 2}));
    EXPECT_EQ(findInSegments(segments, 0, 3, pattern), std::nullopt);
}

TEST(FindFirst, SearchesLaterSegmentsFromTheirStartButNeverEarlierOnesOrAcrossBoundaries)
{
    auto segments = segmentsOf({"41 42", "43 44 01", "41 02", "44 41 42"});
    EXPECT_EQ(findInSegments(segments, 0, 0, bytesFromHex("42 43")), std::nullopt);
    EXPECT_EQ(findInSegments(segments, 0, 1, bytesFromHex("41")), (SearchHit{2, 0}));
    EXPECT_EQ(findInSegments(segments, 2, 1, bytesFromHex("41 42")), (SearchHit{3, 1}));
    EXPECT_EQ(findInSegments(segments, 3, 0, bytesFromHex("43")), std::nullopt);
}

TEST(FindFirst, PassesOverSegmentsShorterThanThePattern)
{
    auto segments = segmentsOf({"41", "", "41 41"});
    EXPECT_EQ(findInSegments(segments, 0, 0, bytesFromHex("41 41")), (SearchHit{2, 0}));
}

TEST(FindFirst, EmptyPatternHitsAtTheStartEvenOnePastTheData)
{
    auto segments = segmentsOf({"41 42", "43"});
    EXPECT_EQ(findInSegments(segments, 0, 1, Bytes()), (SearchHit{0, 1}));
    EXPECT_EQ(findInSegments(segments, 0, 2, Bytes()), (SearchHit{0, 2}));
    EXPECT_EQ(findInSegments(segments, 0, 3, Bytes()), (SearchHit{1, 0}));
}

TEST(ReplaceAll, LaterPositionsSeeTheBytesAlreadyWritten)
{
    auto segments = segmentsOf({"41 41 41"});
    EXPECT_EQ(replaceCount(segments, 0, 0, bytesFromHex("41 41"), bytesFromHex("42 41")), 2);
    EXPECT_EQ(hexOf(segments[0].data), "42 42 41");

    segments = segmentsOf({"41 41 41"});
    EXPECT_EQ(replaceCount(segments, 0, 0, bytesFromHex("41 41"), bytesFromHex("41 42")), 1);
    EXPECT_EQ(hexOf(segments[0].data), "41 42 41");
}

TEST(ReplaceAll, LeavesEverythingBeforeTheStartAndAcrossBoundariesAlone)
{
    auto segments = segmentsOf({"41 41", "41 41 42", "41 43"});
    EXPECT_EQ(replaceCount(segments, 1, 1, bytesFromHex("41"), bytesFromHex("5A")), 2);
    EXPECT_EQ(hexOf(segments[0].data), "41 41");
    EXPECT_EQ(hexOf(segments[1].data), "41 5A 42");
    EXPECT_EQ(hexOf(segments[2].data), "5A 43");
}

TEST(ReplaceAll, EmptyPatternCountsEveryPositionIncludingOnePastTheData)
{
    auto segments = segmentsOf({"41 42", "", "43"});
    EXPECT_EQ(replaceCount(segments, 0, 1, Bytes(), Bytes()), 2 + 1 + 2);
    EXPECT_EQ(replaceCount(segments, 0, 5, Bytes(), Bytes()), 0 + 1 + 2);
}

// Cancelling part way through takes back what was written: a cancelled replace changes nothing.
TEST(ReplaceAll, ACancelledReplaceLeavesTheDataAsItWas)
{
    class CancelAtOnce : public Progress {
    public:
        bool report(std::uint64_t, std::uint64_t) override { return false; }
    } cancel;
    Document document;
    document.segments.resize(1);
    Bytes data(3 * ProgressStep, 0x00);
    for (std::size_t at = 0; at < data.size(); at += 4096) data[at] = 0x41;
    document.segments[0].data = data;
    EXPECT_THROW(static_cast<void>(replaceInDocument(document, {}, bytesFromHex("41"), bytesFromHex("42"), cancel)),
                 WorkCancelled);
    EXPECT_TRUE(document.segments[0].data == SegmentBytes(data));
}

// Random data over a three-letter alphabet, so that overlapping occurrences are common. Short
// segments meet every edge; longer ones give the vector scan of the search whole blocks.
class RandomCases {
public:
    explicit RandomCases(unsigned seed, int segmentLength = 24) : random_(seed), segmentLength_(segmentLength) {}
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    Bytes bytes(int maxLength)
    {
        Bytes result(static_cast<std::size_t>(below(maxLength + 1)));
        for (auto& byte : result) byte = static_cast<std::uint8_t>('a' + below(3));
        return result;
    }
    std::vector<Segment> segments()
    {
        std::vector<Segment> result(static_cast<std::size_t>(1 + below(4)));
        for (auto& segment : result) {
            segment.data = bytes(segmentLength_);
        }
        return result;
    }
    // A start in the segment, one past it, or further.
    std::size_t start() { return static_cast<std::size_t>(below(segmentLength_ + 4)); }

private:
    std::mt19937 random_;
    int segmentLength_;
};

void expectFindingEveryHitInOrderAgrees(RandomCases& random, int runs)
{
    for (int run = 0; run < runs; ++run) {
        auto segments = random.segments();
        Bytes pattern = random.bytes(4);
        std::size_t segment = static_cast<std::size_t>(random.below(static_cast<int>(segments.size())));
        std::size_t start = random.start();
        // Walk from hit to hit as Find next does, one past each hit.
        for (int step = 0; step < 200; ++step) {
            auto expected = naiveFind(segments, segment, start, pattern);
            auto actual = findInSegments(segments, segment, start, pattern);
            ASSERT_EQ(actual, expected) << "run " << run << " step " << step;
            if (!expected) break;
            segment = expected->segment;
            start = expected->index + 1;
        }
    }
}

TEST(ByteSearchDifferential, FindingEveryHitInOrderAgreesWithThePlainScan)
{
    RandomCases random(12345);
    expectFindingEveryHitInOrderAgrees(random, 4000);
    RandomCases longSegments(2345, 300);
    expectFindingEveryHitInOrderAgrees(longSegments, 300);
}

void expectReplacingAgrees(RandomCases& random, int runs)
{
    for (int run = 0; run < runs; ++run) {
        auto segments = random.segments();
        Bytes pattern = random.bytes(4);
        Bytes replacement = pattern;
        for (auto& byte : replacement) byte = static_cast<std::uint8_t>('a' + random.below(3));
        std::size_t first = static_cast<std::size_t>(random.below(static_cast<int>(segments.size())));
        std::size_t start = random.start();
        auto expectedSegments = segments;
        std::int64_t expected = naiveReplace(expectedSegments, first, start, pattern, replacement);
        NoProgress progress;
        Document document;
        document.segments = segments;
        ReplaceOutcome outcome = replaceInDocument(document, {first, start}, pattern, replacement, progress);
        ASSERT_EQ(outcome.count, expected) << "run " << run;
        for (std::size_t j = 0; j < segments.size(); ++j)
            ASSERT_EQ(document.segments[j].data, expectedSegments[j].data) << "run " << run << " segment " << j;
        // Undone from the last write back, every place holds what it held before.
        undoChange(document, outcome.change);
        for (std::size_t j = 0; j < segments.size(); ++j)
            ASSERT_EQ(document.segments[j].data, segments[j].data) << "run " << run << " segment " << j;
    }
}

TEST(ByteSearchDifferential, ReplacingAgreesWithThePlainScan)
{
    RandomCases random(67890);
    expectReplacingAgrees(random, 6000);
    RandomCases longSegments(7890, 300);
    expectReplacingAgrees(longSegments, 300);
}

}  // namespace
}  // namespace quillet
