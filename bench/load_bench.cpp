// Times loading and saving of large resource files next to a plain read of the same file.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "bench_files.h"
#include "large_files.h"
#include "model/codepage.h"
#include "model/loader.h"
#include "model/saver.h"

using namespace quillet;

namespace {

constexpr std::size_t GiB = std::size_t(1) << 30;

// The baseline: the file read whole into memory and nothing else.
void plainRead(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY);
    struct stat info;
    ::fstat(fd, &info);
    auto* buffer = static_cast<char*>(std::malloc(static_cast<std::size_t>(info.st_size)));
    std::size_t done = 0;
    while (done < static_cast<std::size_t>(info.st_size)) {
        ssize_t got = ::read(fd, buffer + done, static_cast<std::size_t>(info.st_size) - done);
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    std::free(buffer);
}

long peakMemoryMiB()
{
    struct rusage usage;
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

void report(const char* what, double time, double baseline)
{
    std::printf("%-46s %9.1f ms   plain read %8.1f ms   ratio %.2f\n", what, time * 1e3, baseline * 1e3,
                time / baseline);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string folder = argc > 1 ? argv[1] : "/tmp";
    const int runs = 5;
    bench::printMachineLoad();

    std::string entriesPath = folder + "/quillet-bench-entries.rsc";
    bench::writeFile(entriesPath, bench::manyEntriesFile());
    Document entriesDocument;
    double entriesLoad = bench::medianSeconds([&] { entriesDocument = loadResource(entriesPath); }, runs);
    std::printf("I = 65000, %zu segments, %zu entries: load %.1f ms (target < 50 ms)\n",
                entriesDocument.segments.size(), entriesDocument.indexTable.size(), entriesLoad * 1e3);
    double entriesSave = bench::medianSeconds([&] { saveResource(entriesDocument, entriesPath + ".out"); }, runs);
    std::printf("  save %.1f ms\n", entriesSave * 1e3);

    std::string rawPath = folder + "/quillet-bench-raw.rsc";
    {
        std::vector<std::uint8_t> raw(GiB);
        for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<std::uint8_t>(i * 7 + 1);
        raw[0] = 1;
        raw[GiB - 2] = 2;  // first and last word differ: no index
        bench::writeFile(rawPath, raw);
    }
    plainRead(rawPath);  // warm the page cache
    double rawBaseline = bench::medianSeconds([&] { plainRead(rawPath); }, runs);
    double rawLoad = bench::medianSeconds([&] { Document document = loadResource(rawPath); }, runs);
    report("1 GiB raw file, load", rawLoad, rawBaseline);
    std::printf("  (target ratio <= 1.5)\n");

    std::string zeroPath = folder + "/quillet-bench-zero.rsc";
    {
        std::vector<std::uint8_t> zeros(GiB, 0);
        bench::writeFile(zeroPath, zeros);
    }
    plainRead(zeroPath);
    double zeroBaseline = bench::medianSeconds([&] { plainRead(zeroPath); }, 3);
    std::size_t entryCount = 0;
    double zeroLoad = bench::medianSeconds([&] { entryCount = loadResource(zeroPath).indexTable.size(); }, 3);
    report("1 GiB file of zeros (I = 0), load", zeroLoad, zeroBaseline);
    std::printf("  %zu index entries, peak memory of this process %ld MiB\n", entryCount, peakMemoryMiB());

    Document raw = loadResource(rawPath);
    double rawSave = bench::seconds([&] { saveResource(raw, rawPath + ".out"); });
    std::printf("1 GiB raw file, save (written and flushed to disk): %.1f ms\n", rawSave * 1e3);

    for (const std::string& path : {entriesPath, entriesPath + ".out", rawPath, rawPath + ".out", zeroPath})
        std::remove(path.c_str());
    return 0;
}
