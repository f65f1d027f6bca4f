// Find and Replace on a 1 GiB raw document, against plain loops of the C library's memmem over
// the same buffer. Prints the median of five runs of each and the ratios.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include "model/document.h"
#include "search/byte_search.h"

using namespace quillet;

namespace {

constexpr std::size_t DocumentSize = std::size_t(1) << 30;
constexpr std::size_t ReplaceSpacing = 4096;
constexpr int Runs = 5;

Bytes randomBytes(std::size_t size, std::uint64_t seed)
{
    Bytes bytes(size);
    std::uint64_t state = seed;
    for (std::size_t i = 0; i + 8 <= size; i += 8) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        std::memcpy(bytes.data() + i, &state, 8);
    }
    return bytes;
}

Document rawDocument()
{
    Document document;
    document.noIndex = true;
    Segment segment;
    segment.data = randomBytes(DocumentSize, 0x9E3779B97F4A7C15ull);
    document.segments.push_back(std::move(segment));
    document.header.length = DocumentSize;
    return document;
}

double seconds(const std::function<void()>& work)
{
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Medians of the two works, run in turn so that both meet the same load of the machine.
std::pair<double, double> medianSeconds(const std::function<void()>& prepare, const std::function<void()>& work,
                                        const std::function<void()>& baseline)
{
    std::vector<double> workTimes;
    std::vector<double> baselineTimes;
    for (int run = 0; run < Runs; ++run) {
        prepare();
        workTimes.push_back(seconds(work));
        prepare();
        baselineTimes.push_back(seconds(baseline));
    }
    return {median(workTimes), median(baselineTimes)};
}

void placeEvery(SegmentBytes& data, const Bytes& pattern)
{
    for (std::size_t at = 0; at + pattern.size() <= data.size(); at += ReplaceSpacing)
        std::memcpy(data.data() + at, pattern.data(), pattern.size());
}

void benchFind(Document& document)
{
    SegmentBytes& data = document.segments[0].data;
    Bytes pattern = randomBytes(16, 42);
    std::memcpy(data.data() + data.size() - pattern.size(), pattern.data(), pattern.size());

    std::optional<SearchHit> hit;
    const void* baselineHit = nullptr;
    auto [find, baseline] = medianSeconds(
        [] {}, [&] { hit = findInSegments(document.segments, 0, 0, pattern); },
        [&] { baselineHit = ::memmem(data.data(), data.size(), pattern.data(), pattern.size()); });
    bool same = hit && baselineHit == data.data() + hit->index;
    std::printf("Find 16-byte pattern at the end:  find %.3f s  memmem %.3f s  ratio %.2f (target <= 1.2)%s\n",
                find, baseline, find / baseline, same ? "" : "  MISMATCH");
}

std::int64_t baselineReplace(SegmentBytes& data, const Bytes& pattern, const Bytes& replacement)
{
    std::int64_t count = 0;
    std::uint8_t* position = data.data();
    std::uint8_t* end = data.data() + data.size();
    while (auto* found = static_cast<std::uint8_t*>(
               ::memmem(position, static_cast<std::size_t>(end - position), pattern.data(), pattern.size()))) {
        std::memcpy(found, replacement.data(), replacement.size());
        ++count;
        position = found + 1;
    }
    return count;
}

void benchReplace(Document& document)
{
    SegmentBytes& data = document.segments[0].data;
    Bytes pattern = randomBytes(8, 7);
    pattern.resize(4);
    Bytes replacement = randomBytes(8, 8);
    replacement.resize(4);

    std::int64_t count = 0;
    std::int64_t baselineCount = 0;
    auto restore = [&] { placeEvery(data, pattern); };
    auto [replace, baseline] = medianSeconds(
        restore,
        [&] {
            NoProgress progress;
            count = replacementCount(replaceInSegments(document.segments, 0, 0, pattern, replacement, progress),
                                     document.segments, 0, 0);
        },
        [&] { baselineCount = baselineReplace(data, pattern, replacement); });
    std::printf("Replace 4-byte pattern every 4 KiB (%lld hits):  replace %.3f s  memmem loop %.3f s  "
                "ratio %.2f (target <= 1.5)%s\n",
                static_cast<long long>(count), replace, baseline, replace / baseline,
                count == baselineCount ? "" : "  MISMATCH");
}

}  // namespace

int main()
{
    Document document = rawDocument();
    benchFind(document);
    benchReplace(document);
    return 0;
}
