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

#include "model/codepage.h"
#include "model/loader.h"
#include "model/saver.h"

using namespace quillet;

namespace {

constexpr std::size_t GiB = std::size_t(1) << 30;

double seconds(const std::function<void()>& work)
{
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(const std::function<void()>& work, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) times.push_back(seconds(work));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

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

// I = 65000, about 30 000 segments, 500 000 index entries (most of them repeats).
std::vector<std::uint8_t> manyEntriesFile()
{
    const int indexOffset = 65000;
    std::vector<std::uint8_t> file(indexOffset, 0x11);
    std::vector<std::uint16_t> entries;
    for (int position = 4; entries.size() < 30000; position += 2) entries.push_back(static_cast<std::uint16_t>(position));
    while (entries.size() < 500000) entries.push_back(entries[entries.size() % 30000]);
    for (std::uint16_t entry : entries) {
        file.push_back(static_cast<std::uint8_t>(entry));
        file.push_back(static_cast<std::uint8_t>(entry >> 8));
    }
    for (int i = 0; i < 2; ++i) file.push_back(static_cast<std::uint8_t>(indexOffset >> (8 * i)));
    file[0] = static_cast<std::uint8_t>(indexOffset);
    file[1] = static_cast<std::uint8_t>(indexOffset >> 8);
    return file;
}

void report(const char* what, double time, double baseline)
{
    std::printf("%-46s %9.1f ms   plain read %8.1f ms   ratio %.2f\n", what, time * 1e3, baseline * 1e3, time / baseline);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string folder = argc > 1 ? argv[1] : "/tmp";
    const CodePage codePage = *CodePage::byName("1252");
    const int runs = 5;

    std::string entriesPath = folder + "/quillet-bench-entries.rsc";
    writeFile(entriesPath, manyEntriesFile());
    Document entriesDocument;
    double entriesLoad = median([&] { entriesDocument = loadResource(entriesPath, codePage); }, runs);
    std::printf("I = 65000, %zu segments, %zu entries: load %.1f ms (target < 50 ms)\n",
                entriesDocument.Segments.size(), entriesDocument.IndexTable.size(), entriesLoad * 1e3);
    double entriesSave = median([&] { saveResource(entriesDocument, entriesPath + ".out"); }, runs);
    std::printf("  save %.1f ms\n", entriesSave * 1e3);

    std::string rawPath = folder + "/quillet-bench-raw.rsc";
    {
        std::vector<std::uint8_t> raw(GiB);
        for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<std::uint8_t>(i * 7 + 1);
        raw[0] = 1;
        raw[GiB - 2] = 2;  // first and last word differ: no index
        writeFile(rawPath, raw);
    }
    plainRead(rawPath);  // warm the page cache
    double rawBaseline = median([&] { plainRead(rawPath); }, runs);
    double rawLoad = median([&] { Document document = loadResource(rawPath, codePage); }, runs);
    report("1 GiB raw file, load", rawLoad, rawBaseline);
    std::printf("  (target ratio <= 1.5)\n");

    std::string zeroPath = folder + "/quillet-bench-zero.rsc";
    {
        std::vector<std::uint8_t> zeros(GiB, 0);
        writeFile(zeroPath, zeros);
    }
    plainRead(zeroPath);
    double zeroBaseline = median([&] { plainRead(zeroPath); }, 3);
    std::size_t entryCount = 0;
    double zeroLoad = median([&] { entryCount = loadResource(zeroPath, codePage).IndexTable.size(); }, 3);
    report("1 GiB file of zeros (I = 0), load", zeroLoad, zeroBaseline);
    std::printf("  %zu index entries, peak memory of this process %ld MiB\n", entryCount, peakMemoryMiB());

    Document raw = loadResource(rawPath, codePage);
    double rawSave = seconds([&] { saveResource(raw, rawPath + ".out"); });
    std::printf("1 GiB raw file, save (written and flushed to disk): %.1f ms\n", rawSave * 1e3);

    for (const std::string& path : {entriesPath, entriesPath + ".out", rawPath, rawPath + ".out", zeroPath})
        std::remove(path.c_str());
    return 0;
}
