// quillet-cli as whole processes on large raw files: find next to grep -c -F and to a search of
// the mapped file in this process, and list with its peak memory. Each figure is the median of
// five runs, the commands run in turn so that they meet the same load of the machine. A replace
// of 64 MiB of hits with its peak memory.
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

constexpr int Runs = 5;
const std::string Needle = "QUILLET-NEEDLE-0123456";  // 22 bytes

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

// The baseline: the file mapped and searched with memmem, in this process.
Measure mappedSearch(const std::string& path, const std::string& needle)
{
    Measure measure;
    double start = now();
    int fd = ::open(path.c_str(), O_RDONLY);
    struct stat info {};
    ::fstat(fd, &info);
    auto size = static_cast<std::size_t>(info.st_size);
    void* bytes = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    const void* hit = ::memmem(bytes, size, needle.data(), needle.size());
    measure.exitCode = hit == static_cast<char*>(bytes) + size - needle.size() ? 0 : 1;
    ::munmap(bytes, size);
    ::close(fd);
    measure.seconds = now() - start;
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

// Whether quillet-cli find prints the one hit, at the file's last bytes: segment, index, position.
bool findPrintsTheHit(const std::string& path, std::uint64_t size)
{
    std::string command = cliPath() + " find --text " + Needle + " '" + path + "'";
    FILE* output = ::popen(command.c_str(), "r");
    if (!output) return false;
    char line[256] = {};
    bool read = std::fgets(line, sizeof line, output) != nullptr;
    ::pclose(output);
    auto at = static_cast<unsigned long long>(size - Needle.size());
    char expected[64];
    std::snprintf(expected, sizeof expected, "1 %llu %08llX\n", at, at);
    return read && std::strcmp(line, expected) == 0;
}

const char* okOrMissed(bool met)
{
    return met ? "met" : "MISSED";
}

void benchFind(const std::string& path, std::uint64_t size, const char* label)
{
    writeRawFile(path, size, Needle);
    warmPageCache(path);
    std::vector<Measure> m = medians({
        [&] {
            return runProcess({cliPath(), "find", "--text", Needle, path});
        },
        [&] {
            return runProcess({"grep", "-c", "-F", Needle, path});
        },
        [&] { return mappedSearch(path, Needle); },
    });
    const Measure& find = m[0];
    const Measure& grep = m[1];
    const Measure& mapped = m[2];
    double ratio = find.seconds / grep.seconds;
    std::printf("find, %s raw file, 22-byte needle at the end\n", label);
    std::printf("  quillet-cli find  %8.1f ms  peak %6ld MiB\n", find.seconds * 1e3, find.peakKiB / 1024);
    std::printf("  grep -c -F        %8.1f ms  peak %6ld MiB\n", grep.seconds * 1e3, grep.peakKiB / 1024);
    std::printf("  mmap + memmem     %8.1f ms  (in this process)\n", mapped.seconds * 1e3);
    std::printf("  (the peak of quillet-cli counts the pages of the file it mapped and read: the page\n"
                "  cache's own pages, not copies)\n");
    std::printf("  ratio find / grep %.2f (target <= 2.5: %s), find / mmap + memmem %.2f%s\n", ratio,
                okOrMissed(ratio <= 2.5), find.seconds / mapped.seconds,
                find.exitCode == 0 && grep.exitCode == 0 && mapped.exitCode == 0 && findPrintsTheHit(path, size)
                    ? ""
                    : "  MISMATCH");
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

// 64 MiB of hits, every byte one: the replace keeps no record of them, so its peak is the file's
// pages and their copies, whatever the count.
void benchReplaceEveryByte(const std::string& folder)
{
    const std::string in = folder + "/quillet-bench-replace-in.bin";
    const std::string out = folder + "/quillet-bench-replace-out.bin";
    {
        std::ofstream file(in, std::ios::binary | std::ios::trunc);
        std::string piece(MiB, 'A');
        piece[0] = '\0';  // a first word unlike the last: the file is held raw, all of it data
        file << piece;
        piece[0] = 'A';
        for (int i = 1; i < 64; ++i) file << piece;
    }
    std::vector<Measure> m = medians({[&] {
        return runProcess({cliPath(), "replace", "--hex", "41", "42", in, out});
    }});
    const Measure& replace = m[0];
    bool met = replace.peakKiB < 192 * 1024;
    std::printf("replace --hex 41 42, 64 MiB raw file (67 108 863 hits): %.1f ms, peak memory %.1f MiB "
                "(target < 192 MiB): %s%s\n",
                replace.seconds * 1e3, static_cast<double>(replace.peakKiB) / 1024.0, okOrMissed(met),
                replace.exitCode == 0 ? "" : "  FAILED");
    std::remove(in.c_str());
    std::remove(out.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    std::string folder = argc > 1 ? argv[1] : "/tmp";
    printMachineLoad();
    std::printf("measuring %s\n", cliPath().c_str());
    benchFind(folder + "/quillet-bench-find-256m.bin", 256 * MiB, "256 MiB");
    benchFind(folder + "/quillet-bench-find-1g.bin", GiB, "1 GiB");
    benchList(folder + "/quillet-bench-list-1g.bin");
    benchReplaceEveryByte(folder);
    return 0;
}
