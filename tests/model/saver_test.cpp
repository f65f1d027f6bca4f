#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "model/codepage.h"
#include "model/file_io.h"
#include "model/loader.h"
#include "model/saver.h"
#include "support/byte_strings.h"
#include "support/file_outcomes.h"
#include "support/resource_builder.h"
#include "support/scratch_folder.h"

namespace quillet {
namespace {

using test::bytesFromHex;
using test::hexOf;
using test::readFileBytes;
using test::tempPath;

Document load(std::string_view bytes)
{
    return parseResource(bytesFromHex(bytes));
}

Bytes saved(const Document& document, const std::string& name = "saved.rsc")
{
    std::string path = tempPath(name);
    saveResource(document, path);
    return readFileBytes(path);
}

TEST(Saver, WorkedExampleComesBackByteForByte)
{
    Document document = parseResource(test::workedExampleFile());
    EXPECT_EQ(bytesBeforeIndex(document), 16u);
    EXPECT_EQ(saved(document), test::workedExampleFile());
}

TEST(Saver, CountByteHoldsTheBlocksCharacterCount)
{
    Document document = parseResource(test::workedExampleFile());
    document.segments[1].data = Bytes(2 * 255, 0x78);
    EXPECT_EQ(savedImage(document)[7], 0xFF);
}

TEST(Saver, EmptyDocumentWritesFourBytes)
{
    EXPECT_EQ(hexOf(saved(Document{})), "02 00 02 00");
}

TEST(Saver, FourByteFileLosesItsSecondHeaderWord)
{
    // 00 00 00 00 has I = 0 and the one entry 0000; W counts only the index offset.
    EXPECT_EQ(hexOf(saved(load("00 00 00 00"))), "02 00 00 00 02 00");
}

TEST(Saver, DocumentWithoutSegmentsKeepsHeaderAndEntries)
{
    Document document = parseResource(test::workedExampleFile());
    document.segments.clear();
    EXPECT_EQ(hexOf(saved(document)), "04 00 02 00 04 00 07 00 0D 00 04 00");
}

TEST(Saver, StrayIndexByteIsLeftOut)
{
    EXPECT_EQ(hexOf(saved(load("06 00 00 00 | 41 42 | 04 00 | 99 | 06 00"))), "06 00 00 00 41 42 04 00 06 00");
}

TEST(Saver, RawDocumentWritesItsBytes)
{
    EXPECT_EQ(hexOf(saved(load("01 02 03"))), "01 02 03");
}

TEST(Saver, RefusesAnIndexOffsetBeyondSixteenBitsAndWritesNothing)
{
    Document document = parseResource(test::workedExampleFile());
    document.segments[0].data = Bytes(65530, 0x11);
    std::string path = test::writeTempFile(bytesFromHex("AA BB"), "kept.rsc");
    try {
        saveResource(document, path);
        FAIL() << "a 65541-byte body was saved";
    } catch (const IoError& error) {
        EXPECT_NE(std::string(error.what()).find("65535"), std::string::npos);
    }
    EXPECT_EQ(hexOf(readFileBytes(path)), "AA BB");
}

// Written as it goes (to standard output): the same bytes, and a refusal before the first piece.
TEST(Saver, WritingByPiecesGivesTheSavedBytesAndRefusesBeforeTheFirst)
{
    Bytes pieces;
    auto collect = [&](const std::uint8_t* data, std::size_t count) {
        pieces.insert(pieces.end(), data, data + count);
    };
    Document document = parseResource(test::workedExampleFile());
    writeResource(document, collect);
    EXPECT_EQ(pieces, test::workedExampleFile());

    pieces.clear();
    document.segments[0].data = Bytes(65530, 0x11);
    EXPECT_THROW(writeResource(document, collect), IoError);
    EXPECT_TRUE(pieces.empty());
}

TEST(Saver, IndexOffsetOfExactly65535IsWritten)
{
    Document document = parseResource(test::workedExampleFile());
    // 65535 - 13 bytes of the other pieces = 65522 for the first segment.
    document.segments[0].data = Bytes(65522, 0x11);
    Bytes file = saved(document);
    EXPECT_EQ(file[0], 0xFF);
    EXPECT_EQ(file[1], 0xFF);
    EXPECT_EQ(file[file.size() - 2], 0xFF);
}

TEST(Saver, ReplacesAnExistingFileKeepingItsPermissions)
{
    std::string path = test::writeTempFile(bytesFromHex("AA BB CC"), "perm.rsc");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    saveResource(parseResource(test::workedExampleFile()), path);
    EXPECT_EQ(readFileBytes(path), test::workedExampleFile());
    struct stat info;
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(Saver, FailureNamesTheCauseAndLeavesNoTemporaryFile)
{
    try {
        saveResource(parseResource(test::workedExampleFile()), tempPath("no-such-folder/out.rsc"));
        FAIL() << "saved into a missing folder";
    } catch (const IoError& error) {
        EXPECT_STREQ(error.what(), "File not found");
    }
    try {
        saveResource(parseResource(test::workedExampleFile()), tempPath(""));
        FAIL() << "saved over a folder";
    } catch (const IoError& error) {
        EXPECT_STREQ(error.what(), "File access denied");
    }
}

// A raw file is mapped, and its lost pages read as 00 once another program cut it short: no save
// puts those 00s in place of the target.
TEST(Saver, ASaveOfAFileCutShortAfterItWasMappedKeepsTheTarget)
{
    const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const std::string source = tempPath("cut-short-source.bin");
    test::writeText(source, std::string(1, '\0') + std::string(8 * page, 'A'));
    const std::string target = tempPath("cut-short-target.bin");
    test::writeText(target, "old");
    Document document = loadResource(source);
    ASSERT_NE(document.mapping, nullptr);
    ASSERT_EQ(::truncate(source.c_str(), static_cast<off_t>(page)), 0);

    EXPECT_THROW(saveResourceWhole(document, target), FileChangedWhileRead);
    EXPECT_THROW(saveResource(document, target), FileChangedWhileRead);
    EXPECT_EQ(test::fileText(target), "old");
    std::remove(source.c_str());
    std::remove(target.c_str());
}

// Counts the reports of a save and cancels at one of them.
class CancelAt final : public Progress {
public:
    explicit CancelAt(int at) : at_(at) {}
    bool report(std::uint64_t done, std::uint64_t total) override
    {
        ++reports;
        lastShare = total == 0 ? 0.0 : static_cast<double>(done) / static_cast<double>(total);
        return reports != at_;
    }
    int reports = 0;
    double lastShare = 0;

private:
    int at_;
};

// Writing, flushing to disk and the last step before the rename all listen for Cancel: a save
// cancelled at any of its reports leaves the old file and nothing else.
TEST(Saver, ACancelAtAnyReportLeavesTheOldFileAndNothingElse)
{
    test::ScratchFolder folder;
    std::string target = folder / "kept.rsc";
    test::writeText(target, "old");
    Document raw;
    raw.noIndex = true;
    raw.segments.emplace_back();
    raw.segments.front().data = SegmentBytes(Bytes(ProgressStep + 5, 0x5A));

    CancelAt counting(0);
    saveResource(raw, folder / "counted.rsc", counting);
    EXPECT_EQ(counting.lastShare, 1.0) << "the bar ends full";
    ASSERT_GE(counting.reports, 5) << "two pieces written, two flushed, one before the rename";
    for (int at = 1; at <= counting.reports; ++at) {
        CancelAt cancelling(at);
        EXPECT_THROW(saveResource(raw, target, cancelling), WorkCancelled) << at;
        EXPECT_EQ(test::fileText(target), "old") << at;
        EXPECT_EQ(test::namesIn(folder.path()), (std::vector<std::string>{"counted.rsc", "kept.rsc"})) << at;
    }
}

TEST(FileIo, ErrorTextsFollowTheSystemError)
{
    EXPECT_EQ(ioErrorText(ENOENT), "File not found");
    EXPECT_EQ(ioErrorText(EACCES), "File access denied");
    EXPECT_EQ(ioErrorText(EMFILE), "Too many open files");
    EXPECT_EQ(ioErrorText(ENOSPC), "Disk full");
    EXPECT_EQ(ioErrorText(ENAMETOOLONG), "Invalid filename");
    EXPECT_EQ(ioErrorText(EIO), "I/O error 5");
}

TEST(FileIo, ReadingAFolderOrAMissingFileFails)
{
    EXPECT_THROW(readWholeFile(tempPath("missing.rsc")), IoError);
    try {
        readWholeFile(tempPath(""));
        FAIL();
    } catch (const IoError& error) {
        EXPECT_STREQ(error.what(), "File access denied");
    }
}

}  // namespace
}  // namespace quillet
