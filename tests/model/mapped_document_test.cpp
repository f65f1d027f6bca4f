// Documents whose bytes are a mapping of their file: edits stay in memory until a save, a save
// onto the mapped file itself leaves the mapping whole, and a file cut short under the mapping
// reads as zeros past its new end instead of ending the process.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "model/edit_history.h"
#include "model/edit_operations.h"
#include "model/file_io.h"
#include "model/file_mapping.h"
#include "model/loader.h"
#include "model/saver.h"
#include "search/byte_search.h"
#include "support/byte_strings.h"
#include "support/resource_builder.h"
#include "support/scratch_folder.h"

namespace quillet {
namespace {

using test::bytesFromHex;
using test::readFileBytes;
using test::ScratchFolder;

const std::size_t PageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));

// A file without an index that spans several pages: its first and last words differ.
Bytes rawFileBytes(std::size_t pages)
{
    Bytes bytes(pages * PageSize);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
    bytes[0] = 0x01;
    bytes[bytes.size() - 2] = 0x02;
    return bytes;
}

void writeFile(const std::string& path, const Bytes& bytes)
{
    Document document;
    document.noIndex = true;
    Segment segment;
    segment.data = bytes;
    document.segments.push_back(std::move(segment));
    saveResource(document, path);
}

Bytes bytesOf(const Document& document)
{
    const SegmentBytes& data = document.segments.at(0).data;
    return data.copy(0, data.size());
}

void cutShort(const std::string& path, std::size_t length)
{
    int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(length)), 0);
    ::close(fd);
}

class MappedDocument : public ::testing::Test {
protected:
    ScratchFolder folder;
    std::string path = folder / "raw.bin";
    Bytes original = rawFileBytes(4);

    void SetUp() override { writeFile(path, original); }

    Document loadMapped()
    {
        Document document = loadResource(path);
        EXPECT_TRUE(document.noIndex);
        EXPECT_TRUE(document.segments.at(0).data.isMapped());
        return document;
    }
};

TEST_F(MappedDocument, LoaderMapsARawFileAndReadsAnIndexedOneAndAnEmptyOne)
{
    Document raw = loadMapped();
    EXPECT_EQ(bytesOf(raw), original);
    EXPECT_EQ(raw.header.length, original.size());

    std::string indexedPath = folder / "indexed.rsc";
    writeFile(indexedPath, test::workedExampleFile());
    Document indexed = loadResource(indexedPath);
    ASSERT_FALSE(indexed.noIndex);
    ASSERT_EQ(indexed.segments.size(), 3u);
    for (const Segment& segment : indexed.segments) EXPECT_FALSE(segment.data.isMapped());
    EXPECT_EQ(savedImage(indexed), test::workedExampleFile());

    std::string emptyPath = folder / "empty.rsc";
    writeFile(emptyPath, Bytes{});
    Document empty = loadResource(emptyPath);
    EXPECT_TRUE(empty.noIndex);
    ASSERT_EQ(empty.segments.size(), 1u);
    EXPECT_EQ(empty.segments[0].size(), 0);
    EXPECT_EQ(empty.header.length, 0u);
    EXPECT_TRUE(savedImage(empty).empty());
}

TEST_F(MappedDocument, EditsLeaveTheFileOnDiskAsItWasUntilTheSave)
{
    Document typed = loadMapped();
    Change change = writeByte(typed, 0, 5000, 0xEE);
    EXPECT_TRUE(typed.segments[0].data.isMapped());  // the written page held beside the mapping
    EXPECT_EQ(typed.segments[0].data[5000], 0xEE);

    Document spliced = loadMapped();
    change = spliceSegment(spliced, 0, 100, 4, bytesFromHex("AA BB"));
    EXPECT_FALSE(spliced.segments[0].data.isMapped());
    EXPECT_EQ(spliced.segments[0].size(), static_cast<std::int64_t>(original.size() - 2));

    Document replaced = loadMapped();
    Bytes pattern(original.begin() + 9000, original.begin() + 9008);
    NoProgress progress;
    ReplaceOutcome outcome = replaceInDocument(replaced, ReplaceScope{}, pattern, Bytes(8, 0x33), progress);
    ASSERT_GT(outcome.count, 0);
    EXPECT_TRUE(replaced.segments[0].data.isMapped());
    EXPECT_EQ(replaced.segments[0].data[9000], 0x33);

    EXPECT_EQ(readFileBytes(path), original);

    std::string savedPath = folder / "saved.bin";
    for (const Document* document : {&typed, &spliced, &replaced}) {
        saveResource(*document, savedPath);
        EXPECT_EQ(readFileBytes(savedPath), bytesOf(*document));
    }
    EXPECT_EQ(readFileBytes(path), original);
}

TEST_F(MappedDocument, SavingOntoTheMappedFileKeepsTheOldMappingWhole)
{
    Document first = loadMapped();
    Change change = writeByte(first, 0, 10, 0x99);
    Bytes edited = bytesOf(first);

    saveResource(first, path);
    Document reloaded = loadMapped();
    EXPECT_EQ(bytesOf(reloaded), edited);

    // Another document written over the same name: the first one still reads its own bytes,
    // also on pages it had never touched before.
    Document untouched = loadMapped();
    Bytes other(3 * PageSize, 0x44);
    writeFile(path, other);
    EXPECT_EQ(bytesOf(untouched), edited);
    EXPECT_EQ(bytesOf(first), edited);
    EXPECT_EQ(readFileBytes(path), other);

    saveResource(first, path);
    EXPECT_EQ(readFileBytes(path), edited);
}

// As `cp` writes a file: opened for writing, emptied, written anew.
void rewriteInPlace(const std::string& path, const Bytes& bytes)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::close(fd);
}

TEST_F(MappedDocument, WhatThePersonWroteStaysWhenAnotherProgramRewritesOrCutsTheFile)
{
    original = rawFileBytes(3);  // 12288 bytes
    writeFile(path, original);
    Document document = loadMapped();
    Change typed = writeByte(document, 0, 0x10, 0x99);
    EXPECT_FALSE(document.mappedFileChanged());
    Bytes other(original.size(), 0x44);
    rewriteInPlace(path, other);
    EXPECT_TRUE(document.mappedFileChanged());
    std::string savedPath = folder / "saved.bin";
    EXPECT_THROW(saveResource(document, savedPath), FileChangedWhileRead);
    EXPECT_FALSE(fileExists(savedPath)) << "nothing is written from a file that changed under the save";
    document.takeChangedFile();
    EXPECT_FALSE(document.mappedFileChanged());
    Bytes expected = other;
    expected[0x10] = 0x99;
    EXPECT_EQ(bytesOf(document), expected) << "bytes not written come from the file as it is now";

    cutShort(path, 9900);
    EXPECT_TRUE(document.mappedFileChanged());
    document.takeChangedFile();
    expected = Bytes(other.begin(), other.begin() + 9900);
    expected.resize(original.size(), 0);
    expected[0x10] = 0x99;
    EXPECT_EQ(bytesOf(document), expected);
    saveResource(document, savedPath);
    EXPECT_EQ(readFileBytes(savedPath), expected);
}

TEST_F(MappedDocument, ReplaceHoldsAPageForEveryPageItWritesAndMayKeepNoPlaces)
{
    Document document = loadMapped();
    Bytes pattern = bytesFromHex("5A 5B");
    for (std::size_t at = 100; at < 1100; at += 10) {
        Change change = writeByte(document, 0, at, 0x5A);
        change = writeByte(document, 0, at + 1, 0x5B);
    }
    Document unrecorded = document;
    NoProgress progress;
    ReplaceOutcome outcome = replaceInDocument(document, ReplaceScope{}, pattern, bytesFromHex("01 02"), progress);
    EXPECT_EQ(outcome.count, 100);
    EXPECT_EQ(document.segments[0].data.writtenPages(), 1u) << "one page, a hundred hits";

    ReplaceOutcome bare = replaceInDocument(unrecorded, ReplaceScope{}, pattern, bytesFromHex("01 02"), progress,
                                            ReplaceRecord::Nothing);
    EXPECT_EQ(bare.count, 100);
    EXPECT_TRUE(bare.change.empty());
    EXPECT_EQ(bytesOf(unrecorded), bytesOf(document));
}

TEST_F(MappedDocument, UndoingTheDeletionOfAMappedSegmentGivesTheMappingBack)
{
    Document document = loadMapped();
    EditHistory history;
    history.record(writeByte(document, 0, 3, 0xAB));
    Bytes typed = bytesOf(document);
    history.record(deleteSegment(document, 0));
    EXPECT_TRUE(document.segments.empty());
    EXPECT_LT(history.heldBytes(), 2 * SegmentBytes::PageSize) << "the removed segment holds its written page only";

    history.undo(document);
    ASSERT_EQ(document.segments.size(), 1u);
    EXPECT_TRUE(document.segments[0].data.isMapped());
    EXPECT_EQ(document.segments[0].data.writtenPages(), 1u);
    EXPECT_EQ(bytesOf(document), typed);
    history.redo(document);
    history.undo(document);
    EXPECT_EQ(bytesOf(document), typed);
}

TEST_F(MappedDocument, UndoAndRedoWorkAcrossMappedAndOwnedBytes)
{
    Document document = loadMapped();
    EditHistory history;
    history.record(writeByte(document, 0, 3, 0xAB));
    Bytes afterTyping = bytesOf(document);

    history.record(spliceSegment(document, 0, 2 * PageSize, 1, bytesFromHex("01 02 03")));
    ASSERT_FALSE(document.segments[0].data.isMapped());
    Bytes afterSplice = bytesOf(document);
    EXPECT_EQ(afterSplice.size(), original.size() + 2);

    history.undo(document);
    EXPECT_EQ(bytesOf(document), afterTyping);
    history.undo(document);
    EXPECT_EQ(bytesOf(document), original);
    EXPECT_TRUE(history.isClean());

    history.redo(document);
    history.redo(document);
    EXPECT_EQ(bytesOf(document), afterSplice);
    EXPECT_EQ(readFileBytes(path), original);
    saveResource(document, path);
    EXPECT_EQ(readFileBytes(path), afterSplice);
}

TEST_F(MappedDocument, AFileCutShortReadsAsZerosPastItsNewEnd)
{
    int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    std::shared_ptr<FileMapping> mapping = FileMapping::map(fd, original.size());
    ::close(fd);
    ASSERT_NE(mapping, nullptr);
    const volatile std::uint8_t* bytes = mapping->bytes();
    EXPECT_EQ(bytes[PageSize], original[PageSize]);  // touched before the cut
    EXPECT_FALSE(mapping->damaged());

    const std::size_t newEnd = PageSize + PageSize / 2;
    cutShort(path, newEnd);
    EXPECT_EQ(bytes[3 * PageSize + 1], 0);
    EXPECT_TRUE(mapping->damaged());
    EXPECT_EQ(bytes[2 * PageSize], 0);
    EXPECT_EQ(bytes[10], original[10]);
    EXPECT_EQ(bytes[newEnd - 1], original[newEnd - 1]);
    EXPECT_EQ(bytes[newEnd], 0);  // the rest of the last page, as the system fills it
}

TEST_F(MappedDocument, ADocumentCutShortIsSearchedAndSavedWithZerosPastTheNewEnd)
{
    // Larger than the writer's buffer, so that the bytes go to the system straight from the
    // mapping; none of the pages was read before the save.
    original = rawFileBytes(64);
    writeFile(path, original);
    Document document = loadMapped();
    const std::size_t newEnd = 2 * PageSize;
    cutShort(path, newEnd);

    std::string savedPath = folder / "kept.bin";
    document.takeChangedFile();  // as the person does who keeps editing
    saveResource(document, savedPath);
    Bytes expected(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(newEnd));
    expected.resize(original.size(), 0);
    EXPECT_EQ(readFileBytes(savedPath), expected);

    writeFile(path, original);
    Document searched = loadMapped();
    cutShort(path, PageSize);
    Bytes tail(original.end() - 8, original.end());
    EXPECT_FALSE(findInSegments(searched.segments, 0, 0, tail));
    Bytes head(original.begin() + 8, original.begin() + 16);
    EXPECT_EQ(findInSegments(searched.segments, 0, 0, head), (SearchHit{0, 8}));
}

}  // namespace
}  // namespace quillet
