#pragma once
#include <gtest/gtest.h>

#include <string>

#include "support/scratch_folder.h"

namespace quillet::test {

// Whether a program is on the PATH.
bool isInstalled(const std::string& tool);

// A folder of its own in which gettext's tools run on the files a test writes there.
class GettextFolder : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return folder_ / name; }
    void write(const std::string& name, const std::string& text) const;
    std::string read(const std::string& name) const;

    // Runs a command in the folder, in a UTF-8 locale as a translator's machine has, its error
    // output kept in errors.txt; gives the exit status.
    int runShell(const std::string& command) const;
    // Runs a command and expects it to succeed without a word on its error output but the
    // warning gettext's tools give about texts with control characters such as CR.
    void runQuietly(const std::string& command) const;

    ScratchFolder folder_;
};

}  // namespace quillet::test

#define SKIP_WITHOUT(tool) \
    if (!test::isInstalled(tool)) GTEST_SKIP() << (tool) << " is not installed"
