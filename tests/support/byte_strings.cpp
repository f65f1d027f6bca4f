#include "support/byte_strings.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

#include <filesystem>

namespace quillet::test {

namespace {
int nibble(char ch)
{
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    throw std::invalid_argument("not a hex digit in a byte string");
}

// The test program's folder for the files its tests write: made on first use, removed with all
// it holds when the program ends, so that no run leaves one behind.
class TestFolder {
public:
    TestFolder() : path_(std::filesystem::temp_directory_path() / ("quillet-test-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(path_);
    }
    ~TestFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

std::filesystem::path testFolder()
{
    static const TestFolder folder;
    return folder.path();
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
    return hexOf(Bytes(bytes.begin(), bytes.end()));
}

std::string tempPath(const std::string& name)
{
    return (testFolder() / name).string();
}

std::string writeTempFile(const Bytes& bytes, const std::string& name)
{
    std::string path = tempPath(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

Bytes readFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    Bytes bytes;
    for (std::istreambuf_iterator<char> it(in), end; it != end; ++it) bytes.push_back(static_cast<std::uint8_t>(*it));
    return bytes;
}

}  // namespace quillet::test
