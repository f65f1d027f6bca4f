// Another program changes a raw file while quillet-cli reads it: the command fails, says why,
// and writes nothing it read from the changed bytes. The tool is held at a known point (its
// output waits in a full pipe) while the file is changed, so the outcome does not depend on
// timing.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "support/byte_strings.h"
#include "support/scratch_folder.h"

namespace quillet {
namespace {

using test::ScratchFolder;

const std::string ChangedText = "changed on disk while it was read (another program wrote to it or cut it short)";

void writeBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A file without an index: its last word differs from its first.
Bytes rawFile(std::size_t size, std::uint8_t fill)
{
    Bytes bytes(size, fill);
    bytes.back() = 0x42;
    return bytes;
}

// quillet-cli running with its output and error output on pipes this test reads.
class RunningCli {
public:
    // With `errorOutputFull`, the error pipe starts full: the tool's first message waits in it
    // until the test reads.
    RunningCli(const std::vector<std::string>& args, bool errorOutputFull)
    {
        int out[2];
        int err[2];
        EXPECT_EQ(::pipe2(out, O_CLOEXEC), 0);
        EXPECT_EQ(::pipe2(err, O_CLOEXEC), 0);
        if (errorOutputFull) fill(err[1]);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::dup2(err[1], STDERR_FILENO);
            std::vector<char*> argv{const_cast<char*>(QUILLET_CLI_PATH)};
            for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
            argv.push_back(nullptr);
            ::execv(QUILLET_CLI_PATH, argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        ::close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~RunningCli()
    {
        if (pid_ > 0) exitStatus();
        ::close(out_);
        ::close(err_);
    }
    RunningCli(const RunningCli&) = delete;
    RunningCli& operator=(const RunningCli&) = delete;

    // Waits until the tool has mapped the file: it has opened it and taken its state.
    bool hasMapped(const std::string& path) const
    {
        for (int tries = 0; tries < 2000; ++tries) {
            std::ifstream maps("/proc/" + std::to_string(pid_) + "/maps");
            std::string line;
            while (std::getline(maps, line))
                if (line.size() >= path.size() && line.compare(line.size() - path.size(), path.size(), path) == 0)
                    return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }
    // Waits for the first output and keeps it in `out`; false when there was none.
    bool hasPrinted()
    {
        char first = 0;
        if (::read(out_, &first, 1) != 1) return false;
        out += first;
        return true;
    }
    // Reads both pipes to their end, the error pipe without the bytes that filled it.
    void finishReading()
    {
        std::thread outReader([this] { out += readAll(out_); });
        std::string errors = readAll(err_);
        outReader.join();
        err = errors.substr(std::min(errors.size(), filler_));
    }
    int exitStatus()
    {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string out;
    std::string err;

private:
    void fill(int fd)
    {
        int flags = ::fcntl(fd, F_GETFL);
        ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
        const std::string block(4096, '#');
        for (;;) {
            ssize_t written = ::write(fd, block.data(), block.size());
            if (written <= 0) break;
            filler_ += static_cast<std::size_t>(written);
        }
        ::fcntl(fd, F_SETFL, flags);
    }
    static std::string readAll(int fd)
    {
        std::string text;
        char buffer[65536];
        for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) != 0;) {
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) break;
            text.append(buffer, static_cast<std::size_t>(got));
        }
        return text;
    }

    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    std::size_t filler_ = 0;
};

TEST(CliChangedSource, FindStopsPrintingAndFailsOnceTheFileIsCutShort)
{
    ScratchFolder folder;
    std::string path = folder / "raw.bin";
    writeBytes(path, rawFile(256 * 1024, 0x41));  // a hit at nearly every byte: megabytes of lines
    RunningCli cli({"find", "41", path}, false);
    // The first piece of hits has gone out and waits in the pipe, found in the whole file.
    ASSERT_TRUE(cli.hasPrinted());
    ASSERT_EQ(::truncate(path.c_str(), 4096), 0);
    cli.finishReading();
    EXPECT_EQ(cli.exitStatus(), 2) << "not 1, which says there is no hit";
    EXPECT_EQ(cli.err, "quillet-cli: " + path + ": " + ChangedText + "; the output stops here\n");
    std::size_t lines = static_cast<std::size_t>(std::count(cli.out.begin(), cli.out.end(), '\n')) + 1;
    EXPECT_GT(lines, 1000u);
    EXPECT_LT(lines, 256u * 1024 - 1) << "not every hit of the file as it was";
    EXPECT_EQ(cli.out.substr(0, 20), "1 0 00000000\n1 1 000") << "the piece given out before the cut is whole";
}

// Copy and replace wait to warn that OUT has a second name while the source is changed; they
// then write nothing, and replace tells no count.
class CliChangedSourceSave : public ::testing::TestWithParam<const char*> {};

TEST_P(CliChangedSourceSave, FailsWritesNothingAndSaysWhy)
{
    ScratchFolder folder;
    std::string in = folder / "in.bin";
    std::string out = folder / "out.bin";
    Bytes original = rawFile(1 << 20, 0x41);
    writeBytes(in, original);
    writeBytes(out, Bytes{1, 2, 3});
    ASSERT_EQ(::link(out.c_str(), (folder / "other-name.bin").c_str()), 0);
    bool replacing = std::string(GetParam()) == "replace";
    std::vector<std::string> args = replacing ? std::vector<std::string>{"replace", "41", "43", in, out}
                                              : std::vector<std::string>{"copy", in, out};

    RunningCli cli(args, true);
    ASSERT_TRUE(cli.hasMapped(in));
    writeBytes(in, rawFile(1 << 20, 0x61));  // rewritten in place, as cp does
    cli.finishReading();
    EXPECT_EQ(cli.exitStatus(), 1);
    EXPECT_NE(cli.err.find("quillet-cli: " + in + ": " + ChangedText), std::string::npos) << cli.err;
    EXPECT_EQ(cli.out, "");
    EXPECT_EQ(test::readFileBytes(out), (Bytes{1, 2, 3}));
    EXPECT_EQ(test::namesIn(folder.path()), (std::vector<std::string>{"in.bin", "other-name.bin", "out.bin"}));
}

INSTANTIATE_TEST_SUITE_P(Commands, CliChangedSourceSave, ::testing::Values("copy", "replace"));

}  // namespace
}  // namespace quillet
