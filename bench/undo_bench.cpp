// The memory and time of undo and redo on a 1 GiB raw file held as a mapping: a byte typed into
// it, the deletion of its one segment, and a Replace of 262 144 hits (one on every 4 KiB page).
// The history's own bytes come from EditHistory::heldBytes(); the resident memory of the process
// is read before and after.
//
// Usage: quillet_undo_bench [FOLDER]   (the file is written there, default /tmp, and removed)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bench_files.h"
#include "large_files.h"
#include "model/edit_history.h"
#include "model/edit_operations.h"
#include "model/loader.h"
#include "search/byte_search.h"

using namespace quillet;
using namespace quillet::bench;

namespace {

constexpr int Runs = 5;
constexpr std::uint64_t HitSpacing = 4096;
const std::string Pattern = "QLT-HIT!";

// Resident memory of this process in KiB: all of it, and the private (anonymous) part, which
// holds the pages a write to the mapping copied.
struct Resident {
    long total = 0;
    long anonymous = 0;
};

Resident resident()
{
    Resident r;
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        std::sscanf(line.c_str(), "VmRSS: %ld", &r.total);
        std::sscanf(line.c_str(), "RssAnon: %ld", &r.anonymous);
    }
    return r;
}

// Undo and redo of the last change in turn, `Runs` times each; leaves the change done.
std::pair<double, double> undoRedoMedians(EditHistory& history, Document& document)
{
    std::vector<double> undos;
    std::vector<double> redos;
    for (int run = 0; run < Runs; ++run) {
        undos.push_back(bench::seconds([&] { history.undo(document); }));
        redos.push_back(bench::seconds([&] { history.redo(document); }));
    }
    return {bench::median(undos), bench::median(redos)};
}

void printGrowth(const char* what, const Resident& before, const Resident& after)
{
    std::printf("  %-30s resident %+8.1f MiB, of it private %+8.1f MiB\n", what,
                static_cast<double>(after.total - before.total) / 1024.0,
                static_cast<double>(after.anonymous - before.anonymous) / 1024.0);
}

// An edit recorded in the history, undone and redone five times, and undone at the end: its
// times, what the history holds and how the resident memory grew.
void benchEdit(const char* title, const char* edit, Document& document, EditHistory& history,
               const std::function<Change()>& change)
{
    Resident before = resident();
    double seconds = bench::seconds([&] { history.record(change()); });
    Resident afterEdit = resident();
    auto [undo, redo] = undoRedoMedians(history, document);
    Resident afterUndoRedo = resident();
    std::printf("%s:\n", title);
    std::printf("  %s %.1f us, undo %.1f us, redo %.1f us; history holds %zu bytes\n", edit, seconds * 1e6, undo * 1e6,
                redo * 1e6, history.heldBytes());
    printGrowth((std::string("the ") + edit + ":").c_str(), before, afterEdit);
    printGrowth("5 undos and redos:", afterEdit, afterUndoRedo);
    history.undo(document);
}

void benchByteEdit(Document& document, EditHistory& history)
{
    benchEdit("a byte typed into the 1 GiB raw file", "edit", document, history,
              [&] { return writeByte(document, 0, static_cast<std::size_t>(GiB / 2), 0xEE); });
}

// Undoing the deletion gives the mapping back: nothing of the file is copied.
void benchSegmentDeletion(Document& document, EditHistory& history)
{
    benchEdit("the deletion of the 1 GiB raw file's segment", "deletion", document, history,
              [&] { return deleteSegment(document, 0); });
}

void benchReplace(Document& document, EditHistory& history)
{
    Bytes pattern(Pattern.begin(), Pattern.end());
    Bytes replacement(pattern.rbegin(), pattern.rend());
    Resident before = resident();
    std::size_t hits = 0;
    double replace = bench::seconds([&] {
        NoProgress progress;
        ReplaceOutcome outcome = replaceInDocument(document, ReplaceScope{}, pattern, replacement, progress);
        hits = static_cast<std::size_t>(outcome.count);
        history.record(std::move(outcome.change));
    });
    Resident afterReplace = resident();
    auto [undo, redo] = undoRedoMedians(history, document);
    Resident afterUndoRedo = resident();
    std::printf("Replace of %zu hits (one every 4 KiB) in the 1 GiB raw file:%s\n", hits,
                hits == GiB / HitSpacing ? "" : "  MISMATCH");
    std::printf("  replace %.1f ms, undo %.1f ms, redo %.1f ms; history holds %.2f MiB (%.1f bytes a hit)\n",
                replace * 1e3, undo * 1e3, redo * 1e3, static_cast<double>(history.heldBytes()) / double(MiB),
                static_cast<double>(history.heldBytes()) / static_cast<double>(std::max<std::size_t>(hits, 1)));
    printGrowth("the replace:", before, afterReplace);
    printGrowth("5 undos and redos:", afterReplace, afterUndoRedo);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string folder = argc > 1 ? argv[1] : "/tmp";
    std::string path = folder + "/quillet-bench-undo-1g.bin";
    printMachineLoad();
    writeRawFile(path, GiB, {}, Pattern, HitSpacing);
    warmPageCache(path);
    {
        Resident before = resident();
        Document document = loadResource(path);
        if (!document.noIndex || !document.segments.at(0).data.isMapped()) std::printf("NOT MAPPED\n");
        std::printf("load of the 1 GiB raw file:\n");
        printGrowth("the load:", before, resident());
        EditHistory history;
        benchByteEdit(document, history);
        benchSegmentDeletion(document, history);
        benchReplace(document, history);
    }
    std::remove(path.c_str());
    return 0;
}
