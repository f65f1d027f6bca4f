// A save whose process ends halfway leaves the old file as it was and nothing else behind.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include "model/file_io.h"
#include "support/file_outcomes.h"
#include "support/scratch_folder.h"
#include "support/unnamed_files.h"

namespace quillet {
namespace {

using test::fileText;
using test::namesIn;
using test::ScratchFolder;
using test::writeText;

enum class NewFiles { Unnamed, NamedOnly };  // NamedOnly: as on a file system without unnamed files

const std::size_t WrittenHalfway = std::size_t{1} << 20;

// A save run in a child process that stops halfway, its first mebibyte written, until it is
// told to go on or is ended by a signal.
class SaveInChild {
public:
    SaveInChild(const std::string& path, NewFiles newFiles, bool ignoreHangUp = false)
    {
        int ready[2];
        int goOn[2];
        if (::pipe(ready) != 0 || ::pipe(goOn) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            ::close(goOn[1]);
            run(path, newFiles, ignoreHangUp, ready[1], goOn[0]);
        }
        ::close(ready[1]);
        ::close(goOn[0]);
        goOn_ = goOn[1];
        char said = 0;
        halfway_ = pid_ > 0 && ::read(ready[0], &said, 1) == 1;
        ::close(ready[0]);
    }
    ~SaveInChild()
    {
        if (pid_ > 0) endWith(SIGKILL);
        if (goOn_ >= 0) ::close(goOn_);
    }
    SaveInChild(const SaveInChild&) = delete;
    SaveInChild& operator=(const SaveInChild&) = delete;

    bool halfway() const { return halfway_; }
    void send(int signal) { ::kill(pid_, signal); }
    // Ends the child with the signal and returns how it ended.
    int endWith(int signal)
    {
        send(signal);
        return status();
    }
    // Lets the child finish the save and returns how it ended.
    int finish()
    {
        ::close(goOn_);
        goOn_ = -1;
        return status();
    }
    // The child ended before it was halfway because it could not do without unnamed files.
    bool cannotRefuseUnnamedFiles()
    {
        if (halfway_) return false;
        int ended = status();
        return WIFEXITED(ended) && WEXITSTATUS(ended) == CannotRefuseUnnamedFiles;
    }

private:
    static constexpr int CannotRefuseUnnamedFiles = 3;

    [[noreturn]] static void run(const std::string& path, NewFiles newFiles, bool ignoreHangUp, int ready, int goOn)
    {
        if (newFiles == NewFiles::NamedOnly && !test::refuseUnnamedFiles()) ::_exit(CannotRefuseUnnamedFiles);
        if (ignoreHangUp) std::signal(SIGHUP, SIG_IGN);  // as under nohup
        try {
            AtomicFileWriter file(path);
            std::string piece(WrittenHalfway, 'n');
            file.write(piece.data(), piece.size());
            if (::write(ready, "h", 1) != 1) ::_exit(4);
            char told = 0;
            while (::read(goOn, &told, 1) > 0) {
            }
            file.commit();
        } catch (const IoError&) {
            ::_exit(2);
        }
        ::_exit(0);
    }

    int status()
    {
        if (pid_ > 0) {
            while (::waitpid(pid_, &lastStatus_, 0) < 0 && errno == EINTR) {
            }
            pid_ = -1;
        }
        return lastStatus_;
    }

    pid_t pid_ = -1;
    int goOn_ = -1;
    bool halfway_ = false;
    int lastStatus_ = 0;
};

bool endedBy(int status, int signal)
{
    return WIFSIGNALED(status) && WTERMSIG(status) == signal;
}

TEST(InterruptedSave, AProcessKilledHalfwayLeavesTheOldFileAndNothingElse)
{
    ScratchFolder folder;
    writeText(folder / "kept.rsc", "old");
    for (const char* name : {"kept.rsc", "new.rsc"}) {
        SCOPED_TRACE(name);
        SaveInChild save(folder / name, NewFiles::Unnamed);
        ASSERT_TRUE(save.halfway());
        EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>({"kept.rsc"})) << "the new file has no name yet";
        EXPECT_TRUE(endedBy(save.endWith(SIGKILL), SIGKILL));
        EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>({"kept.rsc"}));
        EXPECT_EQ(fileText(folder / "kept.rsc"), "old");
    }
}

class InterruptedNamedSave : public ::testing::TestWithParam<int> {};

TEST_P(InterruptedNamedSave, RemovesTheNewFileAndEndsOfTheSignal)
{
    ScratchFolder folder;
    writeText(folder / "kept.rsc", "old");
    SaveInChild save(folder / "kept.rsc", NewFiles::NamedOnly);
    if (save.cannotRefuseUnnamedFiles()) GTEST_SKIP() << "cannot do without unnamed files here";
    ASSERT_TRUE(save.halfway());
    std::vector<std::string> halfway = namesIn(folder.path());
    ASSERT_EQ(halfway.size(), 2u) << "the new file has a name of its own";
    EXPECT_EQ(halfway[0].substr(0, 5), ".qlt-");

    EXPECT_TRUE(endedBy(save.endWith(GetParam()), GetParam()));
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>({"kept.rsc"}));
    EXPECT_EQ(fileText(folder / "kept.rsc"), "old");
}

INSTANTIATE_TEST_SUITE_P(Signals, InterruptedNamedSave, ::testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param == SIGINT    ? "Interrupt"
                                                : info.param == SIGTERM ? "Terminate"
                                                                        : "HangUp");
                         });

TEST(InterruptedNamedSave, AnIgnoredHangUpStaysIgnoredAndTheSaveFinishes)
{
    ScratchFolder folder;
    writeText(folder / "kept.rsc", "old");
    SaveInChild save(folder / "kept.rsc", NewFiles::NamedOnly, true);
    if (save.cannotRefuseUnnamedFiles()) GTEST_SKIP() << "cannot do without unnamed files here";
    ASSERT_TRUE(save.halfway());
    save.send(SIGHUP);
    int status = save.finish();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>({"kept.rsc"}));
    EXPECT_EQ(fileText(folder / "kept.rsc"), std::string(WrittenHalfway, 'n'));
}

}  // namespace
}  // namespace quillet
