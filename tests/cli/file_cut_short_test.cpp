// A raw file is mapped, not read: when another program cuts it short while the tool works, the
// bytes past its new end read as 00. What was made from them is never a success.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/file_outcomes.h"
#include "support/run_cli.h"
#include "support/scratch_folder.h"

namespace quillet {
namespace {

constexpr std::size_t MiB = std::size_t{1} << 20;

// 16 MiB held raw (its first word is not its last), all of it data.
std::string rawFile(const test::ScratchFolder& folder)
{
    std::string path = folder / "raw.bin";
    test::writeText(path, '\0' + std::string(16 * MiB - 1, 'A'));
    return path;
}

// The reader takes the first bytes, so the tool has mapped the file and is blocked writing a
// little way into it; then the file loses its second half, and the reader takes the rest.
test::CliShell cutInHalfOnceWriting(const std::string& path)
{
    return test::pipedInto("{ head -c 1 >/dev/null; truncate -s " + std::to_string(8 * MiB) + " '" + path +
                           "'; cat >/dev/null; }");
}

TEST(CliFileCutShort, WhatWasMadeFromTheLostBytesEndsInFailure)
{
    test::ScratchFolder folder;
    const std::string file = folder / "raw.bin";
    const std::string readShort = "quillet-cli: " + file +
                                  ": changed on disk while it was read (another program wrote to it or cut it "
                                  "short); the output stops here\n";
    const std::string writtenShort = "quillet-cli: -: Another program cut the file it was made from short while it "
                                     "was read: its lost bytes went out as 00\n";
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;
    };
    for (const Case& each :
         {Case{{"find", "41", file}, 2, readShort}, Case{{"list", "--json", file}, 1, readShort},
          Case{{"copy", file, "-"}, 1, writtenShort}, Case{{"replace", "00", "01", file, "-"}, 1, writtenShort}}) {
        SCOPED_TRACE(each.args.front());
        rawFile(folder);
        test::CliResult run = test::runCliWith(cutInHalfOnceWriting(file), each.args);
        EXPECT_EQ(run.exitStatus, each.status);
        EXPECT_EQ(run.err, each.err);
    }
}

}  // namespace
}  // namespace quillet
