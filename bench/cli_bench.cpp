// quillet-cli as whole processes on large raw files, next to the tools people measure it by
// where they are installed: find against rg -c -F --mmap and grep -c -F, copy against
// dd conv=fsync, and list with its peak memory. Each figure is the median of seven runs, the
// commands run in turn so that they meet the same load of the machine.
//
// Usage: quillet_cli_bench [FOLDER]   (the files are written there, default /tmp, and removed)
// QUILLET_CLI=PATH measures another build of the tool, to compare two builds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <string>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "large_files.h"

using namespace quillet::bench;

namespace {

constexpr int Runs = 7;
const std::string Needle = "QUILLET-NEEDLE-123";  // 18 bytes
const std::string RepeatedNeedle = "AAAAAAAAAAAAAAAB";

std::string cliPath()
{
    const char* other = std::getenv("QUILLET_CLI");
    return other != nullptr && *other != '\0' ? other : QUILLET_CLI_PATH;
}

struct Measure {
    double seconds = 0;
    long peakKiB = 0;  // the child's peak resident memory, file pages of a mapping included
    int exitCode = -1;
};

double now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Runs a program with its output thrown away and waits for it. A child's peak memory counts
// what it inherited from this process until the exec: the memory this process freed is first
// given back to the system, so that the figure is the program's own.
Measure runProcess(const std::vector<std::string>& command)
{
    ::malloc_trim(0);
    std::vector<char*> argv;
    argv.reserve(command.size() + 1);
    for (const std::string& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    Measure measure;
    double start = now();
    pid_t child = ::fork();
    if (child == 0) {
        int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage {};
    ::wait4(child, &status, 0, &usage);
    measure.seconds = now() - start;
    measure.peakKiB = usage.ru_maxrss;
    measure.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return measure;
}

// Medians of each work, run in turn `Runs` times; the peak memory is the largest seen.
std::vector<Measure> medians(const std::vector<std::function<Measure()>>& works)
{
    std::vector<std::vector<Measure>> runs(works.size());
    for (int run = 0; run < Runs; ++run)
        for (std::size_t w = 0; w < works.size(); ++w) runs[w].push_back(works[w]());
    std::vector<Measure> result;
    for (auto& measures : runs) {
        std::sort(measures.begin(), measures.end(),
                  [](const Measure& a, const Measure& b) { return a.seconds < b.seconds; });
        Measure median = measures[measures.size() / 2];
        for (const Measure& m : measures) {
            median.peakKiB = std::max(median.peakKiB, m.peakKiB);
            if (m.exitCode != 0) median.exitCode = m.exitCode;
        }
        result.push_back(median);
    }
    return result;
}

// Whether a program of this name is on the PATH: the yardsticks are measured where installed.
bool installed(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "";
    for (std::size_t begin = 0; begin <= folders.size();) {
        std::size_t end = std::min(folders.find(':', begin), folders.size());
        std::string candidate = folders.substr(begin, end - begin) + "/" + program;
        if (end > begin && ::access(candidate.c_str(), X_OK) == 0) return true;
        begin = end + 1;
    }
    return false;
}

// Whether quillet-cli find prints the one hit, at the file's last bytes: segment, index, position.
bool findPrintsTheHit(const std::string& path, std::uint64_t size, const std::string& needle)
{
    std::string command = cliPath() + " find --text " + needle + " '" + path + "'";
    FILE* output = ::popen(command.c_str(), "r");
    if (!output) return false;
    char line[256] = {};
    bool read = std::fgets(line, sizeof line, output) != nullptr;
    ::pclose(output);
    auto at = static_cast<unsigned long long>(size - needle.size());
    char expected[64];
    std::snprintf(expected, sizeof expected, "1 %llu %08llX\n", at, at);
    return read && std::strcmp(line, expected) == 0;
}

const char* okOrMissed(bool met)
{
    return met ? "met" : "MISSED";
}

// A program measured beside quillet-cli, and the most quillet-cli may take against it.
struct Yardstick {
    std::string label;
    std::vector<std::string> command;
    double target = 0;  // 0: no target
    std::function<void()> prepare = [] {};
};

// Runs quillet-cli and each installed yardstick in turn, `Runs` times, and prints the medians
// and their ratios. Returns whether every program succeeded.
bool compare(const std::string& work, const Yardstick& quillet, std::vector<Yardstick> yardsticks)
{
    auto measure = [](const Yardstick& program) {
        return [&program] {
            program.prepare();
            return runProcess(program.command);
        };
    };
    std::vector<std::function<Measure()>> works{measure(quillet)};
    std::printf("%s\n", work.c_str());
    std::erase_if(yardsticks, [](const Yardstick& yardstick) {
        bool missing = !installed(yardstick.command[0]);
        if (missing) std::printf("  %-22s not installed: not measured\n", yardstick.label.c_str());
        return missing;
    });
    for (const Yardstick& yardstick : yardsticks) works.push_back(measure(yardstick));
    std::vector<Measure> m = medians(works);
    std::printf("  %-22s %8.1f ms  peak %6ld MiB\n", quillet.label.c_str(), m[0].seconds * 1e3, m[0].peakKiB / 1024);
    bool succeeded = m[0].exitCode == 0;
    for (std::size_t y = 0; y < yardsticks.size(); ++y) {
        const Measure& other = m[y + 1];
        double ratio = m[0].seconds / other.seconds;
        std::printf("  %-22s %8.1f ms  ratio %.2f", yardsticks[y].label.c_str(), other.seconds * 1e3, ratio);
        if (yardsticks[y].target > 0)
            std::printf(" (target <= %.1f: %s)", yardsticks[y].target, okOrMissed(ratio <= yardsticks[y].target));
        std::printf("\n");
        succeeded = succeeded && other.exitCode == 0;
    }
    return succeeded;
}

// quillet-cli find against rg (and grep), on a raw file that ends with the needle.
void benchFind(const std::string& work, const std::string& path, std::uint64_t size, const std::string& needle,
               bool withGrep)
{
    warmPageCache(path);
    std::vector<Yardstick> yardsticks{{"rg -c -F --mmap", {"rg", "-c", "-F", "--mmap", needle, path}, 1.2}};
    if (withGrep) yardsticks.push_back({"grep -c -F", {"grep", "-c", "-F", needle, path}});
    bool succeeded = compare(work, {"quillet-cli find", {cliPath(), "find", "--text", needle, path}}, yardsticks);
    if (!succeeded || !findPrintsTheHit(path, size, needle)) std::printf("  MISMATCH\n");
    std::remove(path.c_str());
}

// Whether two files hold the same bytes.
bool sameContent(const std::string& a, const std::string& b)
{
    std::ifstream first(a, std::ios::binary);
    std::ifstream second(b, std::ios::binary);
    std::vector<char> x(4 * MiB);
    std::vector<char> y(4 * MiB);
    while (first && second) {
        first.read(x.data(), static_cast<std::streamsize>(x.size()));
        second.read(y.data(), static_cast<std::streamsize>(y.size()));
        if (first.gcount() != second.gcount() || !std::equal(x.begin(), x.begin() + first.gcount(), y.begin()))
            return false;
    }
    return first.eof() && second.eof();
}

// quillet-cli copy against dd, both writing a new file and flushing it to the disk; each run
// starts without the copies of the run before.
void benchCopy(const std::string& path)
{
    const std::string copy = path + ".copy";
    const std::string ddCopy = path + ".dd";
    writeRawFile(path, GiB, Needle);
    warmPageCache(path);
    auto removeCopy = [&] { std::remove(copy.c_str()); };
    auto removeDdCopy = [&] { std::remove(ddCopy.c_str()); };
    bool succeeded = compare("copy of a 1 GiB raw file (the target waits for copies by copy_file_range)",
                             {"quillet-cli copy", {cliPath(), "copy", path, copy}, 0, removeCopy},
                             {{"dd bs=4M conv=fsync",
                               {"dd", "if=" + path, "of=" + ddCopy, "bs=4M", "conv=fsync", "status=none"},
                               1.2,
                               removeDdCopy}});
    if (!succeeded || !sameContent(path, copy)) std::printf("  MISMATCH\n");
    removeCopy();
    removeDdCopy();
    std::remove(path.c_str());
}

void benchList(const std::string& path)
{
    writeRawFile(path, GiB, Needle);
    warmPageCache(path);
    std::vector<Measure> m = medians({[&] { return runProcess({cliPath(), "list", path}); }});
    const Measure& list = m[0];
    bool met = list.seconds < 0.050 && list.peakKiB < 64 * 1024;
    std::printf("list, 1 GiB raw file: %.1f ms (target < 50 ms), peak memory %.1f MiB (target < 64 MiB): %s%s\n",
                list.seconds * 1e3, static_cast<double>(list.peakKiB) / 1024.0, okOrMissed(met),
                list.exitCode == 0 ? "" : "  FAILED");
    std::remove(path.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    std::string folder = argc > 1 ? argv[1] : "/tmp";
    printMachineLoad();
    std::printf("measuring %s, medians of %d runs in turn, page cache warm\n", cliPath().c_str(), Runs);
    const std::string randomFile = folder + "/quillet-bench-find-1g.bin";
    writeRawFile(randomFile, GiB, Needle);
    benchFind("find an 18-byte needle at the end of 1 GiB of random bytes", randomFile, GiB, Needle, true);
    const std::string repeatedFile = folder + "/quillet-bench-find-a-256m.bin";
    writeRepeatedFile(repeatedFile, 256 * MiB, 'A', RepeatedNeedle);
    benchFind("find " + RepeatedNeedle + " at the end of 256 MiB of A", repeatedFile, 256 * MiB, RepeatedNeedle, false);
    std::printf("(the peak of quillet-cli counts the pages of the file it mapped and read: the page cache's own\n"
                "pages, not copies)\n");
    benchCopy(folder + "/quillet-bench-copy-1g.bin");
    benchList(folder + "/quillet-bench-list-1g.bin");
    return 0;
}
