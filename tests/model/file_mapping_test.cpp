// A mapped file cut short by another program: the bus errors on its lost pages are answered
// with zeros at the cost of one more memory area, whatever their number, and bus errors that
// are not ours still reach the handler that was there before.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csetjmp>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <sys/mman.h>
#include <thread>
#include <unistd.h>

#include "model/file_io.h"
#include "model/file_mapping.h"
#include "model/loader.h"
#include "search/byte_search.h"
#include "support/scratch_folder.h"

namespace quillet {
namespace {

using test::ScratchFolder;

const std::size_t PageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));

// The memory areas of the process that hold some of the mapping's bytes.
std::size_t areasOf(const FileMapping& mapping)
{
    const auto begin = reinterpret_cast<std::uintptr_t>(mapping.bytes());
    const std::uintptr_t end = begin + mapping.size();
    std::ifstream maps("/proc/self/maps");
    std::size_t count = 0;
    for (std::string line; std::getline(maps, line);) {
        std::size_t dash = line.find('-');
        std::uintptr_t from = std::stoull(line.substr(0, dash), nullptr, 16);
        std::uintptr_t to = std::stoull(line.substr(dash + 1), nullptr, 16);
        if (from < end && to > begin) ++count;
    }
    return count;
}

void resize(const std::string& path, std::uint64_t length)
{
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(length)), 0) << path;
}

TEST(FileMapping, ASearchOverASixteenGibibyteFileCutShortWhileItRunsEndsWithOneMoreArea)
{
    ScratchFolder folder;
    std::string path = folder / "huge.bin";
    std::ofstream(path) << 'Q';   // no index: its last word does not repeat the first
    resize(path, MaxFileLength);  // all but the first byte a hole: nothing on disk
    Document document = loadResource(path);
    ASSERT_TRUE(document.segments.at(0).data.isMapped());
    ASSERT_NE(document.mapping, nullptr);
    EXPECT_EQ(areasOf(*document.mapping), 1u);

    // Cut while the search runs: reading sixteen gibibytes takes far longer than this wait.
    std::thread cutter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        resize(path, PageSize);
    });
    std::optional<SearchHit> hit = findInSegments(document.segments, 0, 0, Bytes{0x51, 0x4C, 0x54});
    cutter.join();

    EXPECT_FALSE(hit);
    EXPECT_TRUE(document.fileCutShort());
    // The lost pages became zeros in one area, next to what is left of the file's.
    EXPECT_EQ(areasOf(*document.mapping), 2u);
}

TEST(FileMapping, PagesLostOneAfterAnotherStayOneArea)
{
    ScratchFolder folder;
    std::string path = folder / "raw.bin";
    const std::size_t pages = 64;
    std::ofstream(path) << std::string(pages * PageSize, 'x');
    int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    std::shared_ptr<FileMapping> mapping = FileMapping::map(fd, pages * PageSize);
    ::close(fd);
    ASSERT_NE(mapping, nullptr);
    const volatile std::uint8_t* bytes = mapping->bytes();

    resize(path, PageSize);
    EXPECT_EQ(bytes[0], 'x');
    EXPECT_FALSE(mapping->damaged());
    EXPECT_EQ(bytes[40 * PageSize], 0);
    EXPECT_TRUE(mapping->damaged());
    for (std::size_t page = 39; page >= 1; --page) EXPECT_EQ(bytes[page * PageSize + 1], 0) << page;
    EXPECT_EQ(bytes[50 * PageSize], 0);
    EXPECT_EQ(bytes[PageSize - 1], 'x');
    EXPECT_EQ(areasOf(*mapping), 2u);
}

// --- Bus errors that are not ours -----------------------------------------------------------

std::atomic<int> previousHandlerCalls{0};
sigjmp_buf escapeFromFault;

void plainHandler(int)
{
    ++previousHandlerCalls;
    siglongjmp(escapeFromFault, 1);
}

void infoHandler(int, siginfo_t*, void*)
{
    ++previousHandlerCalls;
    siglongjmp(escapeFromFault, 1);
}

// Reads a byte; true when a handler jumped out of the fault instead.
bool faults(const volatile std::uint8_t* byte)
{
    if (sigsetjmp(escapeFromFault, 1) != 0) return true;
    (void)*byte;
    return false;
}

// Run in a process of its own, where the mapping's handler comes after `previous`. Returns what
// went wrong, or nothing.
std::string busErrorsGoToThePreviousHandler(const struct sigaction& previous)
{
    if (::sigaction(SIGBUS, &previous, nullptr) != 0) return "cannot install the previous handler";
    ScratchFolder folder;
    std::string path = folder / "raw.bin";
    const std::size_t length = 4 * PageSize;
    std::ofstream(path) << std::string(length, 'x');
    int fd = ::open(path.c_str(), O_RDONLY);
    std::shared_ptr<FileMapping> ours = FileMapping::map(fd, length);
    void* theirs = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (!ours || theirs == MAP_FAILED) return "cannot map the file";
    ::truncate(path.c_str(), static_cast<off_t>(PageSize));
    const volatile auto* theirBytes = static_cast<const volatile std::uint8_t*>(theirs);

    if (!faults(theirBytes + 3 * PageSize) || previousHandlerCalls != 1) return "their fault did not reach them";
    if (faults(ours->bytes() + 3 * PageSize) || !ours->damaged()) return "our fault was not answered with zeros";
    if (!faults(theirBytes + 2 * PageSize) || previousHandlerCalls != 2) return "their second fault did not reach them";
    if (faults(ours->bytes() + 2 * PageSize) || previousHandlerCalls != 2) return "the previous handler replaced ours";
    ::munmap(theirs, length);
    return "";
}

class FileMappingPreviousHandler : public ::testing::TestWithParam<bool> {};

TEST_P(FileMappingPreviousHandler, IsCalledAsTheKindOfHandlerItIsAndStaysWhereItWas)
{
    // A fresh process re-runs this test alone: the mapping's handler is installed there once,
    // after the previous one.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    struct sigaction previous {};
    sigemptyset(&previous.sa_mask);
    if (GetParam()) {
        previous.sa_sigaction = infoHandler;
        previous.sa_flags = SA_SIGINFO | SA_NODEFER;
    } else {
        previous.sa_handler = plainHandler;
        previous.sa_flags = SA_NODEFER;
    }
    EXPECT_EXIT(
        {
            std::string failure = busErrorsGoToThePreviousHandler(previous);
            std::fputs(failure.c_str(), stderr);
            std::_Exit(failure.empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "^$");
}

INSTANTIATE_TEST_SUITE_P(Kinds, FileMappingPreviousHandler, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "WithSignalInformation" : "Plain");
                         });

}  // namespace
}  // namespace quillet
