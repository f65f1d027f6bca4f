#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "app/editor.h"
#include "support/byte_strings.h"
#include "support/editor_fixture.h"
#include "support/resource_builder.h"
#include "support/scratch_folder.h"

namespace quillet {
namespace {

using test::bytesFromHex;

using test::repeatedHex;
using test::resourceFile;

class EditorLists : public test::EditorFixture {
protected:
    void markSomeCells()
    {
        editor.gridMousePress(MouseButton::Left, {1, 5});
        editor.gridMouseRelease(MouseButton::Left, {1, 7}, true);
        ASSERT_NE(state().selection, GridSelection{});
    }
};

// Data segments for the preview, a block of 3 characters, an empty block, a data segment
// that begins with a unit 0 and one of 100 bytes.
Bytes previewFile()
{
    return resourceFile(
        {"41 00 42 00 43", "03 AB 41 00 42 00 43 00", "00 AB", "00 00 41 00", repeatedHex("41 00", 50)});
}

TEST_F(EditorLists, LoadingSelectsTheFirstSegmentAndItsIndexLine)
{
    std::string path = open(test::workedExampleFile());
    EXPECT_EQ(lines().size(), 3u);
    EXPECT_EQ(state().selectedSegment, 0u);
    EXPECT_EQ(state().selectedIndexLine, 0u);
    EXPECT_EQ(state().fileNamePanel, path);
    EXPECT_FALSE(state().textStripVisible);
    EXPECT_EQ(state().focus, FocusRequest::SegmentList);
}

TEST_F(EditorLists, DataSegmentPreviewShowsItsFirstUnitsUpToAUnitZero)
{
    open(previewFile());
    EXPECT_EQ(state().messagePanel, "AB");  // the odd fifth byte is ignored

    editor.selectSegment(3);  // 00 00 41 00
    EXPECT_EQ(state().messagePanel, "");

    editor.selectSegment(4);  // 100 bytes: 20 characters from the first 40
    EXPECT_EQ(state().messagePanel, std::string(20, 'A'));
    EXPECT_EQ(state().textLineMaxLength, 0);
    EXPECT_FALSE(state().textStripVisible);
}

TEST_F(EditorLists, UnicodeBlockFillsTheTextLineAndItsCounter)
{
    open(previewFile());
    editor.selectSegment(1);
    EXPECT_TRUE(state().textStripVisible);
    EXPECT_EQ(textLine(), "ABC");
    EXPECT_EQ(state().textLineMaxLength, 127);
    EXPECT_EQ(state().messagePanel, "Already entered 3 char(s)");
    EXPECT_EQ(state().selectedIndexLine, 1u);
}

TEST_F(EditorLists, DataSegmentAfterABlockHidesTheStripAndEmptiesTheLine)
{
    open(previewFile());
    editor.selectSegment(1);
    editor.selectSegment(0);
    EXPECT_FALSE(state().textStripVisible);
    EXPECT_EQ(textLine(), "");
    EXPECT_EQ(state().textLineMaxLength, 0);
    EXPECT_EQ(state().messagePanel, "AB");  // the preview is written after the counter
}

TEST_F(EditorLists, EmptyBlockShowsTheCounterOnlyWhenTheLineHeldText)
{
    open(previewFile());
    editor.selectSegment(2);  // after a data segment: the line was empty already
    EXPECT_TRUE(state().textStripVisible);
    EXPECT_EQ(textLine(), "");
    EXPECT_EQ(state().messagePanel, "");

    editor.selectSegment(1);
    editor.selectSegment(2);  // after "ABC"
    EXPECT_TRUE(state().textStripVisible);
    EXPECT_EQ(textLine(), "");
    EXPECT_EQ(state().messagePanel, "Already entered 0 char(s)");
}

TEST_F(EditorLists, BlockTextEndsAtAUnitZero)
{
    open(resourceFile({"11", "03 AB 41 00 00 00 42 00"}));
    editor.selectSegment(1);
    EXPECT_EQ(line(1), "002(1) AB");  // the list line leaves the unit out
    EXPECT_EQ(textLine(), "A");
    EXPECT_EQ(state().messagePanel, "Already entered 1 char(s)");
}

TEST_F(EditorLists, SegmentSelectionResetsTheGridSelectionAndForceMode)
{
    open(previewFile());
    editor.selectSegment(4);
    markSomeCells();
    editor.forceUnicode();
    ASSERT_TRUE(state().forceMode);
    editor.selectSegment(0);
    EXPECT_FALSE(state().forceMode);
    EXPECT_EQ(state().selection, GridSelection{});
}

TEST_F(EditorLists, NoSelectedSegmentGivesTwoRowsAndKeepsTheRest)
{
    open(bytesFromHex("00 00 00 00"));  // an index without a body: no segment lines
    ASSERT_TRUE(lines().empty());
    editor.showSelectedSegment();
    EXPECT_EQ(state().rowCount, 2);
    EXPECT_EQ(state().messagePanel, "");
    EXPECT_FALSE(state().selectedIndexLine.has_value());
}

// 08 00 00 00 | 11 22 33 44 | 06 00 | 08 00: the bytes at 4 and 5 lie before the only entry (6),
// so their line "001 0004:0005" has no entry number.
const char* const UntaggedFirstSegment = "08 00 00 00 | 11 22 33 44 | 06 00 | 08 00";

TEST_F(EditorLists, LineWithoutEntryNumberLeavesTheIndexSelection)
{
    open(bytesFromHex(UntaggedFirstSegment));
    ASSERT_EQ(lines(), (std::vector<std::string>{"001 0004:0005", "002(0) 0006:0007"}));
    EXPECT_FALSE(state().selectedIndexLine.has_value());
    editor.selectSegment(1);
    EXPECT_EQ(state().selectedIndexLine, 0u);
    editor.selectSegment(0);
    EXPECT_EQ(state().selectedIndexLine, 0u);
}

// The index list follows a segment's own entry, never a number that its text happens to hold.
TEST_F(EditorLists, BlockWithoutTagLeavesTheIndexListWhateverItsTextSays)
{
    // The block "(0)" at 4 lies before the only entry (12): its line is "001 (0)".
    open(bytesFromHex("0E 00 00 00 | 03 AB 28 00 30 00 29 00 | 11 22 | 0C 00 | 0E 00"));
    ASSERT_EQ(line(0), "001 (0)");
    EXPECT_EQ(state().selectedIndexLine, std::nullopt);
}

TEST_F(EditorLists, RawFileLeavesTheIndexListAlone)
{
    open(bytesFromHex("01 02 03 04 05"));
    ASSERT_TRUE(editor.document().noIndex);
    EXPECT_EQ(lines(), std::vector<std::string>{"0000:0005"});
    EXPECT_FALSE(state().selectedIndexLine.has_value());
    EXPECT_EQ(state().selectedSegment, 0u);
}

// Entries 4 and 6; the second resource holds data, the block "Hi" and a last data byte, all
// three counted under entry 1.
Bytes sharedEntryFile()
{
    return resourceFile({"11 22", "33 44 02 AB 48 00 69 00 55"});
}

TEST_F(EditorLists, IndexLineSelectsTheFirstSegmentWithItsNumber)
{
    open(sharedEntryFile());
    ASSERT_EQ(lines(),
              (std::vector<std::string>{"001(0) 0004:0005", "002(1) 0006:0007", "003(1) Hi", "004(1) 000E:000E"}));
    editor.selectSegment(3);
    EXPECT_EQ(state().selectedIndexLine, 1u);

    editor.selectIndexLine(1);
    EXPECT_EQ(state().selectedSegment, 1u);
    EXPECT_EQ(state().selectedIndexLine, 1u);

    editor.selectIndexLine(0);
    EXPECT_EQ(state().selectedSegment, 0u);
}

TEST_F(EditorLists, IndexLineSelectingTheBlockRunsTheSegmentSelection)
{
    open(test::workedExampleFile());
    editor.selectIndexLine(1);
    EXPECT_EQ(state().selectedSegment, 1u);
    EXPECT_EQ(textLine(), "Hi");
    EXPECT_TRUE(state().textStripVisible);
}

TEST_F(EditorLists, IndexLineWithoutSegmentChangesNothing)
{
    // Two entries of value 4: the one segment is counted under the later one, entry 1.
    open(bytesFromHex("0A 00 00 00 | 11 22 33 44 55 66 | 04 00 04 00 | 0A 00"));
    ASSERT_EQ(lines(), std::vector<std::string>{"001(1) 0004:0009"});
    ASSERT_EQ(state().selectedIndexLine, 1u);
    markSomeCells();
    GridSelection marked = state().selection;

    editor.selectIndexLine(0);
    EXPECT_EQ(state().selectedIndexLine, 0u);  // the line just clicked stays selected
    EXPECT_EQ(state().selectedSegment, 0u);
    EXPECT_EQ(state().selection, marked);  // no segment selection ran
}

TEST_F(EditorLists, PreviousAndNextMoveOneLineAndStopAtTheEnds)
{
    open(test::workedExampleFile());
    markSomeCells();
    GridSelection marked = state().selection;
    editor.previousSegment();
    EXPECT_EQ(state().selectedSegment, 0u);
    EXPECT_EQ(state().selection, marked);  // nothing ran

    editor.nextSegment();
    EXPECT_EQ(state().selectedSegment, 1u);
    EXPECT_EQ(textLine(), "Hi");
    EXPECT_EQ(state().selectedIndexLine, 1u);
    editor.nextSegment();
    EXPECT_EQ(state().selectedSegment, 2u);

    markSomeCells();
    marked = state().selection;
    editor.nextSegment();
    EXPECT_EQ(state().selectedSegment, 2u);
    EXPECT_EQ(state().selection, marked);

    editor.previousSegment();
    EXPECT_EQ(state().selectedSegment, 1u);
    EXPECT_EQ(state().selection, GridSelection{});
}

TEST_F(EditorLists, PreviousAndNextDoNothingWithOneLineOrNone)
{
    editor.previousSegment();
    editor.nextSegment();
    EXPECT_FALSE(state().selectedSegment.has_value());

    open(bytesFromHex("01 02 03"));
    editor.previousSegment();
    editor.nextSegment();
    EXPECT_EQ(state().selectedSegment, 0u);
}

TEST_F(EditorLists, ActivationLoadsTheNamedFile)
{
    std::string path = test::writeTempFile(test::workedExampleFile(), "activate.rsc");
    editor.activate(path);
    EXPECT_EQ(lines().size(), 3u);
    EXPECT_EQ(state().selectedSegment, 0u);
    EXPECT_EQ(state().fileNamePanel, path);
}

TEST_F(EditorLists, ActivationWithoutAnExistingFileLoadsNothing)
{
    editor.activate(std::nullopt);
    editor.activate(test::tempPath("no-such-file.rsc"));
    EXPECT_TRUE(lines().empty());
    EXPECT_FALSE(state().selectedSegment.has_value());
    EXPECT_EQ(state().fileNamePanel, "");
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(EditorLists, ActivationClearsTheRawFlagForceModeAndSelection)
{
    open(bytesFromHex("01 02 03 04 05"));
    editor.forceUnicode();
    ASSERT_TRUE(state().forceMode);
    editor.activate(std::nullopt);
    EXPECT_FALSE(editor.document().noIndex);
    EXPECT_FALSE(state().forceMode);
    EXPECT_EQ(state().selection, GridSelection{});
}

TEST_F(EditorLists, TheOpenDialogStartsInTheFolderOfTheOpenFile)
{
    editor.openFile();
    std::string path = open(test::workedExampleFile());
    editor.openFile();
    ASSERT_EQ(prompts.openStartFolders.size(), 2u);
    EXPECT_EQ(prompts.openStartFolders[0], "") << "no file is open";
    EXPECT_EQ(prompts.openStartFolders[1], std::filesystem::path(path).parent_path().string());
}

TEST_F(EditorLists, OpeningAMissingNameKeepsTheDocument)
{
    std::string path = open(test::workedExampleFile());
    editor.selectSegment(1);
    markSomeCells();
    editor.loadFile(test::tempPath("missing.rsc"));
    EXPECT_EQ(lines().size(), 3u);
    EXPECT_EQ(state().selectedSegment, 1u);
    EXPECT_EQ(textLine(), "Hi");
    EXPECT_EQ(state().fileNamePanel, path);
    EXPECT_EQ(state().selection, GridSelection{});
    EXPECT_FALSE(state().textStripVisible);  // hidden before the name is tested
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(EditorLists, OpeningAFolderLoadsNothingAndSaysNothing)
{
    open(test::workedExampleFile());
    editor.loadFile(test::tempPath(""));
    EXPECT_EQ(lines().size(), 3u);
    EXPECT_TRUE(prompts.messages.empty());
}

// A socket in the file system exists but cannot be opened for reading.
class SocketFile {
public:
    explicit SocketFile(const std::string& path) : path_(path)
    {
        ::unlink(path.c_str());
        fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
        bound_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    }
    ~SocketFile()
    {
        ::close(fd_);
        ::unlink(path_.c_str());
    }
    bool bound() const { return bound_; }

private:
    std::string path_;
    int fd_ = -1;
    bool bound_ = false;
};

TEST_F(EditorLists, UnreadableFileShowsAnErrorAndKeepsTheDocument)
{
    std::string path = open(test::workedExampleFile());
    editor.selectSegment(1);
    SocketFile socket(test::tempPath("unreadable.rsc"));
    ASSERT_TRUE(socket.bound());

    editor.loadFile(test::tempPath("unreadable.rsc"));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].kind, MessageKind::Error);
    EXPECT_FALSE(prompts.messages[0].text.empty());
    EXPECT_EQ(lines().size(), 3u);
    EXPECT_EQ(state().selectedSegment, 1u);
    EXPECT_EQ(state().fileNamePanel, path);
    EXPECT_TRUE(state().textStripVisible);  // the block is still current and shown
    EXPECT_EQ(textLine(), "Hi");
}

// Reading a named pipe would wait for a writer, or with one read nothing and replace the
// document by an empty one: it is refused with what it is.
TEST_F(EditorLists, NamedPipeShowsAnErrorAndKeepsTheDocument)
{
    std::string path = open(test::workedExampleFile());
    editor.selectSegment(1);
    test::ScratchFolder folder;
    std::string fifo = folder / "pipe.rsc";
    ASSERT_TRUE(test::makeFifo(fifo));
    int writer = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);

    EXPECT_FALSE(editor.loadFile(fifo));
    ::close(writer);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(prompts.messages[0].text, fifo + ": Not a regular file: a named pipe (FIFO)");
    EXPECT_EQ(lines().size(), 3u);
    EXPECT_EQ(state().selectedSegment, 1u);
    EXPECT_EQ(state().fileNamePanel, path);
    EXPECT_EQ(textLine(), "Hi");
    EXPECT_FALSE(editor.isModified());
}

}  // namespace
}  // namespace quillet
