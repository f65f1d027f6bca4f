#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>

#include "model/bytes.h"
#include "support/byte_strings.h"

namespace quillet::fuzz {

// Ends the run on a broken rule: libFuzzer then keeps the input that broke it.
[[noreturn]] inline void fail(const std::string& rule, const std::string& detail = "")
{
    std::fprintf(stderr, "\nbroken: %s\n%s\n", rule.c_str(), detail.c_str());
    std::abort();
}

inline void require(bool holds, const char* rule)
{
    if (!holds) fail(rule);
}

inline void requireSame(const Bytes& found, const Bytes& expected, const char* rule)
{
    if (found != expected) fail(rule, "found    " + test::hexOf(found) + "\nexpected " + test::hexOf(expected));
}

inline std::uint16_t wordAt(const Bytes& bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

}  // namespace quillet::fuzz
