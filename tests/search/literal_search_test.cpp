#include "search/literal_search.h"

#include <algorithm>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/scratch_folder.h"

namespace quillet {
namespace {

// The plain scan the fast search must agree with: every position, the whole pattern compared.
std::optional<std::size_t> plainScan(const std::uint8_t* data, std::size_t size, std::size_t from, const Bytes& pattern)
{
    for (std::size_t p = from; p <= size && size - p >= pattern.size(); ++p)
        if (std::equal(pattern.begin(), pattern.end(), data + p)) return p;
    return std::nullopt;
}

std::string shown(std::optional<std::size_t> at)
{
    return at ? std::to_string(*at) : "nothing";
}

// Every way of scanning this processor has finds what the plain scan finds, from `from`.
testing::AssertionResult agreesFrom(const std::uint8_t* data, std::size_t size, const Bytes& pattern, std::size_t from)
{
    auto expected = plainScan(data, size, from, pattern);
    for (LiteralSearch::Scan scan : LiteralSearch::availableScans()) {
        auto found = LiteralSearch(pattern, scan).find(data, size, from);
        if (found != expected)
            return testing::AssertionFailure()
                   << "scan " << static_cast<int>(scan) << ", pattern of " << pattern.size() << " in " << size
                   << " bytes from " << from << ": found " << shown(found) << ", expected " << shown(expected);
    }
    return testing::AssertionSuccess();
}

// From `from`, then from one past each hit, as Find next walks, up to the end of the data.
testing::AssertionResult agreesHitByHit(const Bytes& data, const Bytes& pattern, std::size_t from)
{
    for (LiteralSearch::Scan scan : LiteralSearch::availableScans()) {
        LiteralSearch search(pattern, scan);
        for (std::size_t start = from;;) {
            auto expected = plainScan(data.data(), data.size(), start, pattern);
            auto found = search.find(data.data(), data.size(), start);
            if (found != expected)
                return testing::AssertionFailure() << "scan " << static_cast<int>(scan) << ", pattern of "
                                                   << pattern.size() << " in " << data.size() << " bytes from " << start
                                                   << ": found " << shown(found) << ", expected " << shown(expected);
            if (!expected || pattern.empty()) break;
            start = *expected + 1;
        }
    }
    return testing::AssertionSuccess();
}

// Each start from `first` up to `last`.
testing::AssertionResult agreesFromEveryStartIn(const Bytes& data, const Bytes& pattern, std::size_t first,
                                                std::size_t last)
{
    for (std::size_t from = first; from <= last; ++from)
        if (auto result = agreesFrom(data.data(), data.size(), pattern, from); !result) return result;
    return testing::AssertionSuccess();
}

// Each start from `first` to the end of the data, and one past it.
testing::AssertionResult agreesFromEveryStartAfter(const Bytes& data, const Bytes& pattern, std::size_t first)
{
    return agreesFromEveryStartIn(data, pattern, first, data.size() + 1);
}

std::size_t lastStarts(const Bytes& data, std::size_t count)
{
    return data.size() - std::min(data.size(), count);
}

Bytes repeated(const std::string& piece, std::size_t size)
{
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(piece[i % piece.size()]);
    return bytes;
}

Bytes bytesOf(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

class RandomBytes {
public:
    explicit RandomBytes(unsigned seed) : random_(seed) {}
    std::size_t below(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_); }
    // Bytes drawn from `alphabet`: few values, so that partial and overlapping matches abound.
    Bytes bytes(std::size_t size, const std::string& alphabet)
    {
        Bytes result(size);
        for (auto& byte : result) byte = static_cast<std::uint8_t>(alphabet[below(alphabet.size())]);
        return result;
    }

private:
    std::mt19937 random_;
};

const std::size_t PatternLengths[] = {1, 2, 3, 4, 5, 8, 16, 17, 31, 40, 100};

TEST(LiteralSearchDifferential, AgreesWithThePlainScanOnDataOfFewByteValues)
{
    RandomBytes random(2024);
    // Two letters; three; Latin text as UTF-16 (every other byte zero) among binary bytes.
    const std::string alphabets[] = {"ab", "abc", std::string("\0a\0b\0c\xFF", 7)};
    for (int run = 0; run < 600; ++run) {
        const std::string& alphabet = alphabets[run % 3];
        Bytes data = random.bytes(random.below(400), alphabet);
        std::size_t length = PatternLengths[random.below(std::size(PatternLengths))];
        Bytes pattern = random.bytes(length, alphabet);
        // Half the patterns are cut from the data, so that long ones are found too.
        if (run % 2 == 0 && data.size() >= length) {
            std::size_t at = random.below(data.size() - length + 1);
            pattern.assign(data.begin() + static_cast<std::ptrdiff_t>(at),
                           data.begin() + static_cast<std::ptrdiff_t>(at + length));
        }
        ASSERT_TRUE(agreesHitByHit(data, pattern, random.below(data.size() + 2))) << "run " << run;
        ASSERT_TRUE(agreesFromEveryStartAfter(data, pattern, lastStarts(data, length + 70))) << "run " << run;
    }
}

TEST(LiteralSearchDifferential, FindsThePatternAtTheEndOfPeriodicData)
{
    struct Case {
        std::string period;
        std::string pattern;
    };
    const Case cases[] = {
        {"A", "AAAAAAAAAAAAAAAB"},
        {"A", "BAAAAAAAAAAAAAAA"},
        {"A", "AB"},
        {"A", "AAB"},
        {"abc", "abcabcabd"},
        {"abc", "cab"},
        {"ab", "aab"},
        {"ab", "abababababababababababx"},
        {std::string("H\0i\0", 4), std::string("H\0i\0H\0i\0H\0!\0", 12)},
    };
    for (const Case& c : cases) {
        Bytes pattern = bytesOf(c.pattern);
        Bytes data = repeated(c.period, 20000);
        data.insert(data.end(), pattern.begin(), pattern.end());
        EXPECT_TRUE(agreesFrom(data.data(), data.size(), pattern, 0)) << c.pattern;
        EXPECT_TRUE(agreesFrom(data.data(), data.size(), pattern, 1)) << c.pattern;
        EXPECT_TRUE(agreesFromEveryStartAfter(data, pattern, lastStarts(data, pattern.size() + 70))) << c.pattern;
        // And once the pattern is cut short: no hit at all, however long the data.
        data.pop_back();
        EXPECT_TRUE(agreesFrom(data.data(), data.size(), pattern, 0)) << c.pattern;
    }
}

// Copies of the pattern spoiled in one byte, overlapping or a byte or two apart: the pattern's
// rare bytes stand in their places in almost every copy, so candidates that fail late come
// faster than the search lets them, and it hands the rest to its linear fallback. Whole copies
// mixed in later are found there, also right behind the candidate that made the search switch.
TEST(LiteralSearchDifferential, StaysExactWhenThePatternsRareBytesAreEverywhere)
{
    RandomBytes random(77);
    for (std::size_t length : PatternLengths) {
        if (length < 2) continue;
        Bytes pattern = random.bytes(length, "xyz\x01");
        Bytes data;
        std::size_t spoiledOnly = 0;
        for (int copy = 0; copy < 300; ++copy) {
            Bytes piece = pattern;
            if (copy < 100 || random.below(4) != 0) piece[random.below(length)] ^= 0x80;
            std::size_t overlap = random.below(2) == 0 ? random.below(length) : random.below(3) % length;
            data.resize(data.size() - std::min(data.size(), overlap));
            data.insert(data.end(), piece.begin(), piece.end());
            if (copy == 99) spoiledOnly = data.size();
        }
        data.insert(data.end(), pattern.begin(), pattern.end());
        EXPECT_TRUE(agreesHitByHit(data, pattern, 0)) << "length " << length;
        EXPECT_TRUE(agreesFromEveryStartIn(data, pattern, 0, 3 * length)) << "length " << length;
        EXPECT_TRUE(agreesFromEveryStartIn(data, pattern, spoiledOnly - std::min(spoiledOnly, 3 * length), spoiledOnly))
            << "length " << length;
    }
}

TEST(LiteralSearchDifferential, HandlesEmptyAndTooShortDataAndStartsPastTheEnd)
{
    const Bytes data = bytesOf("abcab");
    for (const char* pattern : {"", "a", "ab", "bca", "abcab", "abcabc"}) {
        for (std::size_t from = 0; from <= data.size() + 2; ++from)
            EXPECT_TRUE(agreesFrom(data.data(), data.size(), bytesOf(pattern), from)) << pattern;
        EXPECT_TRUE(agreesFrom(nullptr, 0, bytesOf(pattern), 0)) << pattern;
    }
}

// A file of exactly one page, mapped between two pages that may not be read: a search that read
// one byte past either end of the data would end the test run.
class GuardedPage {
public:
    explicit GuardedPage(const Bytes& content)
    {
        const std::string path = folder_ / "page.bin";
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
        EXPECT_EQ(::write(fd, content.data(), content.size()), static_cast<ssize_t>(content.size()));
        region_ = static_cast<std::uint8_t*>(
            ::mmap(nullptr, 3 * PageSize, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
        void* page = ::mmap(region_ + PageSize, PageSize, PROT_READ, MAP_PRIVATE | MAP_FIXED, fd, 0);
        EXPECT_EQ(page, region_ + PageSize);
        ::close(fd);
    }
    ~GuardedPage() { ::munmap(region_, 3 * PageSize); }
    GuardedPage(const GuardedPage&) = delete;
    GuardedPage& operator=(const GuardedPage&) = delete;
    const std::uint8_t* data() const { return region_ + PageSize; }

    static inline const std::size_t PageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));

private:
    test::ScratchFolder folder_;
    std::uint8_t* region_ = nullptr;
};

TEST(LiteralSearchDifferential, ReadsNothingOutsideAPageThatEndsTheMapping)
{
    RandomBytes random(5);
    for (std::size_t length : PatternLengths) {
        Bytes pattern = random.bytes(length, "pq");
        Bytes content = random.bytes(GuardedPage::PageSize, "pq");
        std::copy(pattern.begin(), pattern.end(), content.end() - static_cast<std::ptrdiff_t>(length));
        GuardedPage page(content);
        const std::size_t size = GuardedPage::PageSize;
        for (std::size_t from = size - std::min(size, length + 100); from <= size + 1; ++from)
            ASSERT_TRUE(agreesFrom(page.data(), size, pattern, from));
        // Data that ends part way into the pattern, as a segment ends before the page does.
        for (std::size_t cut = 1; cut < length; ++cut)
            ASSERT_TRUE(
                agreesFrom(page.data(), size - cut, pattern, size - cut - std::min(size - cut, std::size_t{80})));
        ASSERT_TRUE(agreesFrom(page.data(), size, pattern, 0));
    }
}

}  // namespace
}  // namespace quillet
