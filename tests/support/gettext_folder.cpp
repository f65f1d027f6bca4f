#include "support/gettext_folder.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace quillet::test {

bool isInstalled(const std::string& tool)
{
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

void GettextFolder::write(const std::string& name, const std::string& text) const
{
    std::ofstream(path(name), std::ios::binary) << text;
}

std::string GettextFolder::read(const std::string& name) const
{
    return fileText(path(name));
}

int GettextFolder::runShell(const std::string& command) const
{
    std::string line = "cd '" + folder_.path() + "' && export LC_ALL=C.UTF-8 && (" + command + ") 2>errors.txt";
    int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void GettextFolder::runQuietly(const std::string& command) const
{
    EXPECT_EQ(runShell(command), 0) << command << "\n" << read("errors.txt");
    std::istringstream errors(read("errors.txt"));
    for (std::string error; std::getline(errors, error);)
        EXPECT_NE(error.find("internationalized messages should not contain the"), std::string::npos)
            << command << ": " << error;
}

}  // namespace quillet::test
