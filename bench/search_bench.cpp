// Find and Replace on a 1 GiB raw document, against plain loops of the C library's memmem over
// the same buffer (the search Find used before it looked for rare bytes); Find in 256 MiB of
// one byte value, memmem's worst case; then Replace on a 1 GiB raw file as the editor holds it,
// mapped, against the same loop over a private mapping of the file. Prints the median of five
// runs of each and the ratios.
//
// Usage: quillet_search_bench [FOLDER]   (the file is written there, default /tmp, and removed)
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "bench_files.h"
#include "large_files.h"
#include "model/document.h"
#include "model/loader.h"
#include "search/byte_search.h"
#include "search/literal_search.h"

using namespace quillet;

namespace {

constexpr std::size_t DocumentSize = std::size_t(1) << 30;
constexpr std::size_t RepeatedSize = std::size_t(256) << 20;
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

// Medians of the two works, run in turn so that both meet the same load of the machine.
std::pair<double, double> medianSeconds(const std::function<void()>& prepare, const std::function<void()>& work,
                                        const std::function<void()>& baseline)
{
    std::vector<double> workTimes;
    std::vector<double> baselineTimes;
    for (int run = 0; run < Runs; ++run) {
        prepare();
        workTimes.push_back(bench::seconds(work));
        prepare();
        baselineTimes.push_back(bench::seconds(baseline));
    }
    return {bench::median(workTimes), bench::median(baselineTimes)};
}

void placeEvery(SegmentBytes& data, const Bytes& pattern)
{
    for (std::size_t at = 0; at + pattern.size() <= data.size(); at += ReplaceSpacing)
        std::memcpy(data.data() + at, pattern.data(), pattern.size());
}

// Find against memmem over the same bytes, for a pattern that lies at the end of the data.
void compareFind(const char* work, const Document& document, const Bytes& pattern)
{
    const SegmentBytes& data = document.segments[0].data;
    std::optional<SearchHit> hit;
    const void* baselineHit = nullptr;
    auto [find, baseline] = medianSeconds(
        [] {}, [&] { hit = findInSegments(document.segments, 0, 0, pattern); },
        [&] { baselineHit = ::memmem(data.data(), data.size(), pattern.data(), pattern.size()); });
    bool same = hit && baselineHit == data.data() + hit->index;
    std::printf("%s:  find %.3f s  memmem %.3f s  ratio %.2f (target <= 1.0)%s\n", work, find, baseline,
                find / baseline, same ? "" : "  MISMATCH");
}

void benchFind(Document& document)
{
    SegmentBytes& data = document.segments[0].data;
    Bytes pattern = randomBytes(16, 42);
    std::memcpy(data.data() + data.size() - pattern.size(), pattern.data(), pattern.size());
    compareFind("Find 16-byte pattern at the end", document, pattern);
}

// The search that tries every position meets its worst case: a run of one byte value.
void benchFindInRepeatedBytes()
{
    Document document;
    document.noIndex = true;
    document.segments.emplace_back();
    SegmentBytes& data = document.segments[0].data;
    data = Bytes(RepeatedSize, 'A');
    const Bytes pattern = {'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'B'};
    std::memcpy(data.data() + data.size() - pattern.size(), pattern.data(), pattern.size());
    compareFind("Find AAAAAAAAAAAAAAAB at the end of 256 MiB of A", document, pattern);
}

// Each way of scanning for the rare byte pair, in turn, on data in the processor's cache (a
// 256 KiB segment searched over and over) and on the 1 GiB document: what the vector scans earn.
void benchScans(const Document& document)
{
    const SegmentBytes& large = document.segments[0].data;
    const Bytes pattern(large.end() - 18, large.end());
    Bytes small = randomBytes(256 << 10, 3);
    std::copy(pattern.begin(), pattern.end(), small.end() - 18);
    const std::vector<LiteralSearch::Scan> scans = LiteralSearch::availableScans();
    std::vector<std::vector<double>> cached(scans.size());
    std::vector<std::vector<double>> fromMemory(scans.size());
    bool found = true;
    for (int run = 0; run < Runs; ++run) {
        for (std::size_t k = 0; k < scans.size(); ++k) {
            LiteralSearch search(pattern, scans[k]);
            cached[k].push_back(bench::seconds([&] {
                for (int i = 0; i < 4096; ++i) found = found && search.find(small.data(), small.size(), 0);
            }));
            fromMemory[k].push_back(
                bench::seconds([&] { found = found && search.find(large.data(), large.size(), 0); }));
        }
    }
    const char* names[] = {"memchr", "SSE2", "AVX2"};
    std::printf("Find an 18-byte pattern, by scan (GB/s):");
    for (std::size_t k = 0; k < scans.size(); ++k)
        std::printf("  %s %.1f in cache, %.1f from memory", names[static_cast<int>(scans[k])],
                    4096.0 * static_cast<double>(small.size()) / bench::median(cached[k]) / 1e9,
                    static_cast<double>(large.size()) / bench::median(fromMemory[k]) / 1e9);
    std::printf("%s\n", found ? "" : "  MISMATCH");
}

std::int64_t baselineReplace(std::uint8_t* data, std::size_t size, const Bytes& pattern, const Bytes& replacement)
{
    std::int64_t count = 0;
    std::uint8_t* position = data;
    std::uint8_t* end = data + size;
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
            count = replaceInDocument(document, ReplaceScope{}, pattern, replacement, progress).count;
        },
        [&] { baselineCount = baselineReplace(data.data(), data.size(), pattern, replacement); });
    std::printf("Replace 4-byte pattern every 4 KiB (%lld hits):  replace %.3f s  memmem loop %.3f s  "
                "ratio %.2f (target <= 1.5)%s\n",
                static_cast<long long>(count), replace, baseline, replace / baseline,
                count == baselineCount ? "" : "  MISMATCH");
}

// A private mapping of a whole file, as the loader makes for a raw file.
class PrivateMapping {
public:
    explicit PrivateMapping(const std::string& path)
    {
        int fd = ::open(path.c_str(), O_RDONLY);
        size_ = static_cast<std::size_t>(::lseek(fd, 0, SEEK_END));
        bytes_ = static_cast<std::uint8_t*>(::mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE, fd, 0));
        ::close(fd);
    }
    ~PrivateMapping() { ::munmap(bytes_, size_); }
    PrivateMapping(const PrivateMapping&) = delete;
    PrivateMapping& operator=(const PrivateMapping&) = delete;
    std::uint8_t* bytes() const { return bytes_; }
    std::size_t size() const { return size_; }

private:
    std::uint8_t* bytes_ = nullptr;
    std::size_t size_ = 0;
};

// Each write into the mapping first copies its page; every run starts from a fresh mapping.
void benchMappedReplace(const std::string& folder)
{
    const std::string mark = "QLT-HIT!";
    const std::string path = folder + "/quillet-bench-replace-1g.bin";
    bench::writeRawFile(path, bench::GiB, {}, mark, ReplaceSpacing);
    bench::warmPageCache(path);
    Bytes pattern(mark.begin(), mark.end());
    Bytes replacement(mark.rbegin(), mark.rend());

    std::optional<Document> document;
    std::optional<PrivateMapping> mapping;
    std::int64_t count = 0;
    std::int64_t baselineCount = 0;
    auto fresh = [&] {
        document.reset();
        mapping.reset();
        document = loadResource(path);
        mapping.emplace(path);
    };
    auto [replace, baseline] = medianSeconds(
        fresh,
        [&] {
            NoProgress progress;
            count = replaceInDocument(*document, ReplaceScope{}, pattern, replacement, progress).count;
        },
        [&] { baselineCount = baselineReplace(mapping->bytes(), mapping->size(), pattern, replacement); });
    bool mapped = document->segments[0].data.isMapped();
    document.reset();
    mapping.reset();
    std::printf("Replace 8-byte pattern every 4 KiB in a mapped 1 GiB raw file (%lld hits):  replace %.3f s  "
                "memmem loop %.3f s  ratio %.2f (target <= 1.5)%s\n",
                static_cast<long long>(count), replace, baseline, replace / baseline,
                count == baselineCount && count == static_cast<std::int64_t>(bench::GiB / ReplaceSpacing) && mapped
                    ? ""
                    : "  MISMATCH");
    std::remove(path.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : "/tmp";
    bench::printMachineLoad();
    {
        Document document = rawDocument();
        benchFind(document);
        benchScans(document);
        benchReplace(document);
    }
    benchFindInRepeatedBytes();
    benchMappedReplace(folder);
    return 0;
}
