#pragma once
// Large raw files for the benchmarks, written a piece at a time, and what they need around them.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace quillet::bench {

constexpr std::uint64_t MiB = std::uint64_t(1) << 20;
constexpr std::uint64_t GiB = std::uint64_t(1) << 30;

// Bytes that look random and hold no long repeat, so that a needle of a few bytes is found only
// where it was put.
class ByteStream {
public:
    explicit ByteStream(std::uint64_t seed) : state_(seed | 1) {}
    void fill(std::uint8_t* bytes, std::size_t size)
    {
        for (std::size_t i = 0; i < size; i += 8) {
            state_ ^= state_ << 13;
            state_ ^= state_ >> 7;
            state_ ^= state_ << 17;
            std::memcpy(bytes + i, &state_, std::min<std::size_t>(8, size - i));
        }
    }

private:
    std::uint64_t state_;
};

// A file without an index of `size` bytes: random bytes, a copy of `mark` (when given) at 8 and
// then every `every` bytes, and `needle` as its last bytes. Its first word differs from its
// last, so the editor holds it raw.
inline void writeRawFile(const std::string& path, std::uint64_t size, const std::string& needle,
                         const std::string& mark = {}, std::uint64_t every = 0)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::vector<std::uint8_t> piece(16 * MiB);
    ByteStream stream(0x9E3779B97F4A7C15ull);
    for (std::uint64_t at = 0; at < size; at += piece.size()) {
        std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(piece.size(), size - at));
        stream.fill(piece.data(), count);
        if (!mark.empty())
            for (std::uint64_t p = (at + every - 1) / every * every + 8; p + mark.size() <= at + count; p += every)
                std::memcpy(piece.data() + (p - at), mark.data(), mark.size());
        if (at + count == size && !needle.empty())
            std::memcpy(piece.data() + count - needle.size(), needle.data(), needle.size());
        if (at == 0) {
            piece[0] = static_cast<std::uint8_t>(needle.empty() ? 0x01 : needle.back() ^ 0xFF);
            piece[1] = 0x00;
        }
        out.write(reinterpret_cast<const char*>(piece.data()), static_cast<std::streamsize>(count));
    }
}

// A file of `size` bytes of `filler` that ends with `needle`: the worst case of a search that
// tries every position. Held raw when the needle ends in another byte than the filler.
inline void writeRepeatedFile(const std::string& path, std::uint64_t size, char filler, const std::string& needle)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::vector<char> piece(16 * MiB, filler);
    for (std::uint64_t at = 0; at < size; at += piece.size()) {
        std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(piece.size(), size - at));
        if (at + count == size)
            std::copy(needle.begin(), needle.end(), piece.begin() + static_cast<std::ptrdiff_t>(count - needle.size()));
        out.write(piece.data(), static_cast<std::streamsize>(count));
    }
}

// Reads the whole file once, so that every timed run finds it in the page cache.
inline void warmPageCache(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return;
    std::vector<char> buffer(4 * MiB);
    while (::read(fd, buffer.data(), buffer.size()) > 0) {
    }
    ::close(fd);
}

// The machine's load when the benchmark started: other work on it slows every figure.
inline void printMachineLoad()
{
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    std::printf("machine load (1, 5, 15 min): %s %s %s on %ld cores\n", one.c_str(), five.c_str(), fifteen.c_str(),
                ::sysconf(_SC_NPROCESSORS_ONLN));
}

}  // namespace quillet::bench
