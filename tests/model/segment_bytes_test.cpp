// A mapped range with pages written over it: every read, copy and search sees the written pages
// over the file's bytes, also where a pattern crosses from one into the other, and copies share
// the mapping.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <random>
#include <unistd.h>

#include "model/file_mapping.h"
#include "model/segment_bytes.h"
#include "support/failing_allocations.h"
#include "support/scratch_folder.h"

namespace quillet {
namespace {

constexpr std::size_t Page = SegmentBytes::PageSize;

std::shared_ptr<FileMapping> mapFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    int fd = ::open(path.c_str(), O_RDONLY);
    std::shared_ptr<FileMapping> mapping = FileMapping::map(fd, bytes.size());
    ::close(fd);
    return mapping;
}

Bytes randomBytes(std::mt19937& random, std::size_t count, int values)
{
    Bytes bytes(count);
    std::uniform_int_distribution<int> value(0, values - 1);
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(value(random));
    return bytes;
}

std::optional<std::size_t> naiveFind(const Bytes& data, std::size_t from, const Bytes& pattern)
{
    for (std::size_t p = from; p + pattern.size() <= data.size(); ++p)
        if (std::equal(pattern.begin(), pattern.end(), data.begin() + static_cast<std::ptrdiff_t>(p))) return p;
    return std::nullopt;
}

std::optional<std::size_t> findWithRuns(const SegmentBytes& bytes, std::size_t from, const Bytes& pattern)
{
    return findInRuns(bytes, from, bytes.size(), pattern.size(),
                      [&](const std::uint8_t* data, std::size_t size, std::size_t start) -> std::optional<std::size_t> {
                          const void* found = ::memmem(data + start, size - start, pattern.data(), pattern.size());
                          if (!found) return std::nullopt;
                          return static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - data);
                      });
}

class SegmentBytesOverMapping : public ::testing::Test {
protected:
    test::ScratchFolder folder;
    std::mt19937 random{25};
    // Five pages and a piece of one: the last written page is a short one.
    Bytes file = randomBytes(random, 5 * Page + 100, 4);
    std::shared_ptr<FileMapping> mapping = mapFile(folder / "file.bin", file);
};

TEST_F(SegmentBytesOverMapping, ReadsCopiesAndComparesTheWrittenPagesOverTheFile)
{
    ASSERT_NE(mapping, nullptr);
    SegmentBytes bytes(mapping, 0, file.size());
    Bytes expected = file;
    const std::pair<std::size_t, Bytes> writes[] = {
        {Page - 2, Bytes{1, 2, 3, 4}},        // across the edge of pages 0 and 1
        {3 * Page + 7, Bytes(Page + 10, 9)},  // across pages 3 and 4
        {file.size() - 1, Bytes{0xEE}},       // the very last byte, on a short page
    };
    for (const auto& [at, written] : writes) {
        bytes.write(at, written);
        std::copy(written.begin(), written.end(), expected.begin() + static_cast<std::ptrdiff_t>(at));
    }
    EXPECT_TRUE(bytes.isMapped());
    EXPECT_EQ(bytes.writtenPages(), 5u) << "pages 0, 1, 3, 4 and 5";
    EXPECT_EQ(bytes.copy(0, bytes.size()), expected);
    for (std::size_t i : {std::size_t{0}, Page - 1, Page, 2 * Page + 5, file.size() - 1})
        EXPECT_EQ(bytes[i], expected[i]);
    EXPECT_TRUE(bytes == SegmentBytes(expected));
    EXPECT_EQ(bytes.runAt(2 * Page).size(), Page) << "page 2 lies unwritten between two written ones";
    EXPECT_EQ(bytes.filePositionAt(2 * Page + 1), 2 * Page + 1);
    EXPECT_FALSE(bytes.filePositionAt(Page));
    // The file itself stays as it was.
    EXPECT_EQ(Bytes(mapping->bytes(), mapping->bytes() + file.size()), file);
}

TEST_F(SegmentBytesOverMapping, CopiesShareTheMappingAndWriteOnlyTheirOwnPages)
{
    ASSERT_NE(mapping, nullptr);
    SegmentBytes original(mapping, 0, file.size());
    original.write(10, Bytes{0x77});
    SegmentBytes copy = original;
    EXPECT_EQ(copy.mapping(), mapping.get());
    EXPECT_EQ(copy.writtenPages(), 1u);
    copy.write(11, Bytes{0x88});
    copy.write(4 * Page, Bytes{0x99});
    EXPECT_EQ(original[11], file[11]);
    EXPECT_EQ(original[4 * Page], file[4 * Page]);
    EXPECT_EQ(copy[10], 0x77);
    EXPECT_EQ(copy[11], 0x88);
}

TEST_F(SegmentBytesOverMapping, AWriteWithoutMemoryForItsPagesWritesNothing)
{
    if (!test::FailingAllocations::available()) GTEST_SKIP() << "allocations cannot be made to fail here";
    ASSERT_NE(mapping, nullptr);
    SegmentBytes bytes(mapping, 0, file.size());
    bytes.write(0, Bytes{1});
    {
        test::FailingAllocations failing(Page);
        EXPECT_THROW(bytes.write(Page - 1, Bytes{2, 3}), std::bad_alloc);
    }
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[Page - 1], file[Page - 1]);
    EXPECT_EQ(bytes[Page], file[Page]);
}

// Patterns taken from the bytes as they are, many of them across the edges of written pages,
// and some longer than a page: the search run by run finds what a plain scan finds.
TEST_F(SegmentBytesOverMapping, SearchingRunByRunFindsWhatAPlainScanFinds)
{
    ASSERT_NE(mapping, nullptr);
    SegmentBytes bytes(mapping, 0, file.size());
    Bytes expected = file;
    for (std::size_t page : {1u, 2u, 4u}) {
        Bytes written = randomBytes(random, 3, 4);
        bytes.write(page * Page - 1, written);
        std::copy(written.begin(), written.end(), expected.begin() + static_cast<std::ptrdiff_t>(page * Page - 1));
    }
    std::uniform_int_distribution<std::size_t> place(0, file.size() - 1);
    for (int round = 0; round < 400; ++round) {
        std::size_t length = round % 10 == 0 ? Page + round : 1 + round % 12;
        std::size_t at = round % 2 == 0 ? (1 + round % 5) * Page - length / 2 : place(random);
        at = std::min(at, file.size() - length);
        Bytes pattern(expected.begin() + static_cast<std::ptrdiff_t>(at),
                      expected.begin() + static_cast<std::ptrdiff_t>(at + length));
        if (round % 3 == 0) pattern.back() ^= 1;  // often nowhere at all
        std::size_t from = round % 4 == 0 ? place(random) : 0;
        EXPECT_EQ(findWithRuns(bytes, from, pattern), naiveFind(expected, from, pattern))
            << "round " << round << ", length " << length << ", at " << at << ", from " << from;
    }
    EXPECT_EQ(findWithRuns(bytes, file.size(), Bytes{}), file.size());
    EXPECT_FALSE(findWithRuns(bytes, file.size() + 1, Bytes{}));
}

}  // namespace
}  // namespace quillet
