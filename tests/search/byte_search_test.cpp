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
        segment.size = static_cast<std::int32_t>(segment.data.size());
        segments.push_back(segment);
    }
    return segments;
}

// The plain scan the fast search must agree with: every position, the whole pattern compared.
bool matchesAt(const Bytes& data, std::size_t p, const Bytes& pattern)
{
    for (std::size_t t = 0; t < pattern.size(); ++t)
        if (data[p + t] != pattern[t]) return false;
    return true;
}

std::optional<SearchHit> naiveFind(const std::vector<Segment>& segments, std::size_t first, std::size_t start,
                                   const Bytes& pattern)
{
    for (std::size_t j = first; j < segments.size(); ++j) {
        const Bytes& data = segments[j].data;
        for (std::size_t p = j == first ? start : 0; p + pattern.size() <= data.size(); ++p)
            if (matchesAt(data, p, pattern)) return SearchHit{j, p};
    }
    return std::nullopt;
}

std::int64_t naiveReplace(std::vector<Segment>& segments, std::size_t first, std::size_t start,
                          const Bytes& pattern, const Bytes& replacement)
{
    std::int64_t count = 0;
    for (std::size_t j = first; j < segments.size(); ++j) {
        Bytes& data = segments[j].data;
        for (std::size_t p = j == first ? start : 0; p + pattern.size() <= data.size(); ++p) {
            if (!matchesAt(data, p, pattern)) continue;
            ++count;
            for (std::size_t t = 0; t < replacement.size(); ++t) data[p + t] = replacement[t];
        }
    }
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
    EXPECT_EQ(replaceInSegments(segments, 0, 0, bytesFromHex("41 41"), bytesFromHex("42 41")), 2);
    EXPECT_EQ(hexOf(segments[0].data), "42 42 41");

    segments = segmentsOf({"41 41 41"});
    EXPECT_EQ(replaceInSegments(segments, 0, 0, bytesFromHex("41 41"), bytesFromHex("41 42")), 1);
    EXPECT_EQ(hexOf(segments[0].data), "41 42 41");
}

TEST(ReplaceAll, LeavesEverythingBeforeTheStartAndAcrossBoundariesAlone)
{
    auto segments = segmentsOf({"41 41", "41 41 42", "41 43"});
    EXPECT_EQ(replaceInSegments(segments, 1, 1, bytesFromHex("41"), bytesFromHex("5A")), 2);
    EXPECT_EQ(hexOf(segments[0].data), "41 41");
    EXPECT_EQ(hexOf(segments[1].data), "41 5A 42");
    EXPECT_EQ(hexOf(segments[2].data), "5A 43");
}

TEST(ReplaceAll, EmptyPatternCountsEveryPositionIncludingOnePastTheData)
{
    auto segments = segmentsOf({"41 42", "", "43"});
    EXPECT_EQ(replaceInSegments(segments, 0, 1, Bytes(), Bytes()), 2 + 1 + 2);
    EXPECT_EQ(replaceInSegments(segments, 0, 5, Bytes(), Bytes()), 0 + 1 + 2);
}

// Random short data over a three-letter alphabet, so that overlapping occurrences are common.
class RandomCases {
public:
    explicit RandomCases(unsigned seed) : random_(seed) {}
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
            segment.data = bytes(24);
            segment.size = static_cast<std::int32_t>(segment.data.size());
        }
        return result;
    }

private:
    std::mt19937 random_;
};

TEST(ByteSearchDifferential, FindingEveryHitInOrderAgreesWithThePlainScan)
{
    RandomCases random(12345);
    for (int run = 0; run < 4000; ++run) {
        auto segments = random.segments();
        Bytes pattern = random.bytes(4);
        std::size_t segment = static_cast<std::size_t>(random.below(static_cast<int>(segments.size())));
        std::size_t start = static_cast<std::size_t>(random.below(28));
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

TEST(ByteSearchDifferential, ReplacingAgreesWithThePlainScan)
{
    RandomCases random(67890);
    for (int run = 0; run < 6000; ++run) {
        auto segments = random.segments();
        Bytes pattern = random.bytes(4);
        Bytes replacement = pattern;
        for (auto& byte : replacement) byte = static_cast<std::uint8_t>('a' + random.below(3));
        std::size_t first = static_cast<std::size_t>(random.below(static_cast<int>(segments.size())));
        std::size_t start = static_cast<std::size_t>(random.below(28));
        auto expectedSegments = segments;
        std::int64_t expected = naiveReplace(expectedSegments, first, start, pattern, replacement);
        ASSERT_EQ(replaceInSegments(segments, first, start, pattern, replacement), expected) << "run " << run;
        for (std::size_t j = 0; j < segments.size(); ++j)
            ASSERT_EQ(segments[j].data, expectedSegments[j].data) << "run " << run << " segment " << j;
    }
}

}  // namespace
}  // namespace quillet
