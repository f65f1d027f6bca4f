#include "support/byte_strings.h"
#include "support/scratch_folder.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace quillet::test {

namespace {
int nibble(char ch)
{
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    throw std::invalid_argument("not a hex digit in a byte string");
}

// The folder of this run's files, removed with all it holds when the run ends.
const ScratchFolder& testFolder()
{
    static const ScratchFolder folder;
    return folder;
}
}  // namespace

Bytes bytesFromHex(std::string_view text)
{
    Bytes bytes;
    int high = -1;
    for (char ch : text) {
        if (ch == ' ' || ch == '|' || ch == '\n') continue;
        int value = nibble(ch);
        if (high < 0) {
            high = value;
        } else {
            bytes.push_back(static_cast<std::uint8_t>(high * 16 + value));
            high = -1;
        }
    }
    if (high >= 0) throw std::invalid_argument("odd number of hex digits in a byte string");
    return bytes;
}

std::string hexOf(const Bytes& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (std::uint8_t byte : bytes) {
        if (!text.empty()) text += ' ';
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    return text;
}

std::string hexOf(const SegmentBytes& bytes)
{
    return hexOf(bytes.copy(0, bytes.size()));
}

std::string tempPath(const std::string& name)
{
    return testFolder() / name;
}

std::string writeTempFile(const Bytes& bytes, const std::string& name)
{
    std::string path = tempPath(name);
    writeFileBytes(path, bytes);
    return path;
}

void writeFileBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes readFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    Bytes bytes;
    for (std::istreambuf_iterator<char> it(in), end; it != end; ++it) bytes.push_back(static_cast<std::uint8_t>(*it));
    return bytes;
}

}  // namespace quillet::test
