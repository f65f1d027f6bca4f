#include "search/literal_search.h"

#include <array>
#include <bit>
#include <cstring>
#include <tuple>
#include <utility>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QUILLET_X86_SCANS 1
#endif

namespace quillet {

namespace {

constexpr std::size_t NotFound = static_cast<std::size_t>(-1);

std::size_t offsetIn(const std::uint8_t* data, const void* hit)
{
    return static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - data);
}

// How common each byte value is in resource files, higher for more common: zero (the high byte
// of small numbers and of every Latin character in a unicode block), 0xFF, small numbers, then
// text, with the marker of the unicode blocks among the letters. Only the order counts.
constexpr std::array<std::uint8_t, 256> ByteRanks = [] {
    std::array<std::uint8_t, 256> rank{};
    for (int b = 0x80; b < 0x100; ++b) rank[b] = 40;  // code page letters and binary noise
    for (int b = 0x10; b < 0x20; ++b) rank[b] = 60;
    for (int b = 0x21; b < 0x7F; ++b) rank[b] = 80;  // punctuation
    for (int b = '0'; b <= '9'; ++b) rank[b] = 120;
    const char* upper = "ETAOINSRHLDCUMFPGWYBVKXJQZ";
    const char* lower = "etaoinsrhldcumfpgwybvkxjqz";
    for (int i = 0; i < 26; ++i) {
        rank[static_cast<unsigned char>(upper[i])] = static_cast<std::uint8_t>(150 - 2 * i);
        rank[static_cast<unsigned char>(lower[i])] = static_cast<std::uint8_t>(200 - 3 * i);
    }
    rank[0xAB] = 180;
    rank[0x80] = 90;
    rank[0xFE] = 100;
    rank[0x20] = 210;
    for (int b = 1; b < 0x10; ++b) rank[b] = static_cast<std::uint8_t>(220 - 4 * b);
    rank[0xFF] = 230;
    rank[0x00] = 255;
    return rank;
}();

// Each failed comparison is charged the pattern's length and this many bytes for the scan's
// restart; once the charges pass the bytes searched, the rest goes to memmem. The first few
// are free, so that a short stretch of look-alikes does not decide it.
constexpr std::size_t CandidateCost = 16;
constexpr std::size_t FreeFailures = 64;

// The pair of bytes a scan looks for: `byte1` at at1[p] and `byte2` at at2[p].
struct PairScan {
    const std::uint8_t* at1;
    const std::uint8_t* at2;
    std::uint8_t byte1;
    std::uint8_t byte2;
};

std::size_t scanBytewise(const PairScan& scan, std::size_t position, std::size_t last)
{
    for (; position <= last; ++position)
        if (scan.at1[position] == scan.byte1 && scan.at2[position] == scan.byte2) return position;
    return NotFound;
}

// The C library's vectorised memchr finds the first byte; the second is tested on its own.
std::size_t scanMemchr(const PairScan& scan, std::size_t position, std::size_t last)
{
    while (position <= last) {
        const void* hit = std::memchr(scan.at1 + position, scan.byte1, last - position + 1);
        if (hit == nullptr) return NotFound;
        position = offsetIn(scan.at1, hit);
        if (scan.at2[position] == scan.byte2) return position;
        ++position;
    }
    return NotFound;
}

#ifdef QUILLET_X86_SCANS
// Every x86-64 processor has SSE2. Positions are taken 32 at a time while all 32 are at most
// `last`, so that no load reaches past the data; the rest one at a time.
std::size_t scanSse2(const PairScan& scan, std::size_t position, std::size_t last)
{
    const __m128i byte1 = _mm_set1_epi8(static_cast<char>(scan.byte1));
    const __m128i byte2 = _mm_set1_epi8(static_cast<char>(scan.byte2));
    auto pairs = [&](std::size_t p) {
        __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(scan.at1 + p));
        __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(scan.at2 + p));
        __m128i both = _mm_and_si128(_mm_cmpeq_epi8(first, byte1), _mm_cmpeq_epi8(second, byte2));
        return static_cast<std::uint32_t>(_mm_movemask_epi8(both));
    };
    for (; position <= last && last - position >= 31; position += 32) {
        std::uint32_t mask = pairs(position) | pairs(position + 16) << 16;
        if (mask != 0) return position + static_cast<std::size_t>(std::countr_zero(mask));
    }
    return scanBytewise(scan, position, last);
}

// The same, 64 positions at a time, on processors that have AVX2 (checked before it is chosen).
__attribute__((target("avx2"))) std::size_t scanAvx2(const PairScan& scan, std::size_t position, std::size_t last)
{
    const __m256i byte1 = _mm256_set1_epi8(static_cast<char>(scan.byte1));
    const __m256i byte2 = _mm256_set1_epi8(static_cast<char>(scan.byte2));
    for (; position <= last && last - position >= 63; position += 64) {
        std::uint64_t mask = 0;
        for (std::size_t half = 0; half < 64; half += 32) {
            __m256i first = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(scan.at1 + position + half));
            __m256i second = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(scan.at2 + position + half));
            __m256i both = _mm256_and_si256(_mm256_cmpeq_epi8(first, byte1), _mm256_cmpeq_epi8(second, byte2));
            mask |= std::uint64_t(static_cast<std::uint32_t>(_mm256_movemask_epi8(both))) << half;
        }
        if (mask != 0) return position + static_cast<std::size_t>(std::countr_zero(mask));
    }
    return scanSse2(scan, position, last);
}
#endif

LiteralSearch::Scan fastestScan()
{
    static const LiteralSearch::Scan fastest = LiteralSearch::availableScans().back();
    return fastest;
}

// The offsets of the pattern's two rarest bytes, the first that rank lowest. The second is a
// byte of another value where the pattern has one: a run of one byte value in the data then
// gives no candidates at all.
std::pair<std::size_t, std::size_t> rarePair(const Bytes& pattern)
{
    auto rarer = [&](std::size_t a, std::size_t b) { return ByteRanks[pattern[a]] < ByteRanks[pattern[b]]; };
    std::size_t first = 0;
    for (std::size_t i = 1; i < pattern.size(); ++i)
        if (rarer(i, first)) first = i;
    if (pattern.size() < 2) return {first, first};
    auto differs = [&](std::size_t i) { return pattern[i] != pattern[first]; };
    auto better = [&](std::size_t i, std::size_t than) {
        return differs(i) != differs(than) ? differs(i) : rarer(i, than);
    };
    std::size_t second = first == 0 ? 1 : 0;
    for (std::size_t i = 0; i < pattern.size(); ++i)
        if (i != first && better(i, second)) second = i;
    return {first, second};
}

}  // namespace

LiteralSearch::LiteralSearch(const Bytes& pattern) : LiteralSearch(pattern, fastestScan()) {}

LiteralSearch::LiteralSearch(const Bytes& pattern, Scan scan) : pattern_(pattern), scan_(scan)
{
    std::tie(rareOffset1_, rareOffset2_) = rarePair(pattern_);
}

std::vector<LiteralSearch::Scan> LiteralSearch::availableScans()
{
    std::vector<Scan> scans{Scan::Memchr};
#ifdef QUILLET_X86_SCANS
    scans.push_back(Scan::Sse2);
    if (__builtin_cpu_supports("avx2")) scans.push_back(Scan::Avx2);
#endif
    return scans;
}

std::optional<std::size_t> LiteralSearch::find(const std::uint8_t* data, std::size_t size, std::size_t from) const
{
    if (from > size || size - from < pattern_.size()) return std::nullopt;
    if (pattern_.empty()) return from;
    if (pattern_.size() == 1) {
        const void* hit = std::memchr(data + from, pattern_[0], size - from);
        return hit != nullptr ? std::optional(offsetIn(data, hit)) : std::nullopt;
    }
    return findPair(data, size, from);
}

std::optional<std::size_t> LiteralSearch::findPair(const std::uint8_t* data, std::size_t size, std::size_t from) const
{
    const std::size_t length = pattern_.size();
    const std::size_t last = size - length;  // the last position the pattern fits at
    std::size_t failures = 0;
    for (std::size_t position = from;;) {
        std::size_t candidate = nextCandidate(data, position, last);
        if (candidate == NotFound) return std::nullopt;
        if (std::memcmp(data + candidate, pattern_.data(), length) == 0) return candidate;
        position = candidate + 1;
        if (++failures > FreeFailures && failures * (length + CandidateCost) > position - from) {
            const void* hit = ::memmem(data + position, size - position, pattern_.data(), length);
            return hit != nullptr ? std::optional(offsetIn(data, hit)) : std::nullopt;
        }
    }
}

// The first position p in [position, last] where the pattern's two rare bytes lie in the data.
std::size_t LiteralSearch::nextCandidate(const std::uint8_t* data, std::size_t position, std::size_t last) const
{
    PairScan scan{data + rareOffset1_, data + rareOffset2_, pattern_[rareOffset1_], pattern_[rareOffset2_]};
    switch (scan_) {
#ifdef QUILLET_X86_SCANS
    case Scan::Avx2: return scanAvx2(scan, position, last);
    case Scan::Sse2: return scanSse2(scan, position, last);
#endif
    default: return scanMemchr(scan, position, last);
    }
}

}  // namespace quillet
