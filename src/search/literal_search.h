#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/bytes.h"

namespace quillet {

// Finds one byte pattern in memory, made once per pattern so that searching many segments pays
// the set-up once. It looks for the pattern's two rarest bytes (by their usual frequency in
// resource files, where zero bytes abound) at their distance apart, with a vector scan where the
// processor has one, and compares the whole pattern only there. When such candidates come so
// often that comparing them would cost more than the bytes passed, the rest is searched with the
// C library's memmem, so that no data makes the search slower than linear.
class LiteralSearch {
public:
    // How the pair of rare bytes is looked for; each is exact, they differ only in speed.
    enum class Scan : std::uint8_t { Memchr, Sse2, Avx2 };

    explicit LiteralSearch(const Bytes& pattern);
    LiteralSearch(const Bytes& pattern, Scan scan);

    // The first occurrence of the pattern lying wholly in data[from, size), or nothing. An empty
    // pattern is found at `from`, which may be `size`.
    std::optional<std::size_t> find(const std::uint8_t* data, std::size_t size, std::size_t from) const;

    // Every way of scanning this processor runs, the fastest last.
    static std::vector<Scan> availableScans();

private:
    std::optional<std::size_t> findPair(const std::uint8_t* data, std::size_t size, std::size_t from) const;
    std::size_t nextCandidate(const std::uint8_t* data, std::size_t position, std::size_t last) const;

    Bytes pattern_;
    Scan scan_;
    // The offsets in the pattern of its two rarest bytes; equal only for a one-byte pattern.
    std::size_t rareOffset1_ = 0;
    std::size_t rareOffset2_ = 0;
};

}  // namespace quillet
