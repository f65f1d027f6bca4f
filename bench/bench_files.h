#pragma once
// What the benchmarks share: timing and the files they measure.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace quillet::bench {

// The time one run of the work takes, in seconds.
inline double seconds(const std::function<void()>& work)
{
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The median time of `runs` runs, in seconds.
inline double medianSeconds(const std::function<void()>& work, int runs)
{
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(runs));
    for (int i = 0; i < runs; ++i) times.push_back(seconds(work));
    return median(times);
}

inline void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// I = 65000, about 30 000 segments, 500 000 index entries (most of them repeats).
inline std::vector<std::uint8_t> manyEntriesFile()
{
    const int indexOffset = 65000;
    std::vector<std::uint8_t> file(indexOffset, 0x11);
    std::vector<std::uint16_t> entries;
    for (int position = 4; entries.size() < 30000; position += 2)
        entries.push_back(static_cast<std::uint16_t>(position));
    while (entries.size() < 500000) entries.push_back(entries[entries.size() % 30000]);
    auto putWord = [&file](int word) {
        file.push_back(static_cast<std::uint8_t>(word));
        file.push_back(static_cast<std::uint8_t>(word >> 8));
    };
    for (std::uint16_t entry : entries) putWord(entry);
    putWord(indexOffset);
    file[0] = static_cast<std::uint8_t>(indexOffset);
    file[1] = static_cast<std::uint8_t>(indexOffset >> 8);
    return file;
}

}  // namespace quillet::bench
