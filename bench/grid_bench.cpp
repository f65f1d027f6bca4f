// Times what the window does on large files: painting one full view of the hex grid, opening
// a file with a long index until both lists are shown, and opening a 1 GiB raw file until its
// grid is drawn.
//
// Usage: quillet_grid_bench [FOLDER]   (the files are written there, default /tmp, and removed)
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <vector>

#include "app/editor.h"
#include "app/qt/main_window.h"
#include "bench_files.h"
#include "large_files.h"
#include "model/loader.h"
#include "views/qt/hex_grid.h"

using namespace quillet;

namespace {

class SilentPrompts : public Prompts {
public:
    bool askYesNo(MessageKind, const std::string&, const std::string&) override { return false; }
    void showMessage(MessageKind, const std::string&, const std::string&) override {}
    SaveChoice askSaveChanges(const std::string&) override { return SaveChoice::Cancel; }
    bool askReloadChangedFile(const std::string&) override { return false; }
    TypingChoice askApplyTyping(const std::string&) override { return TypingChoice::Cancel; }
    std::optional<std::string> askOpenFileName(const std::string&) override { return std::nullopt; }
    std::optional<std::string> askSaveFileName(const std::string&) override { return std::nullopt; }
    std::optional<ChosenFile> askTextsFileName(TextsFileUse, const std::string&, const std::vector<FileKind>&) override
    {
        return std::nullopt;
    }
    void runLongWork(const std::string&, const std::function<void(Progress&)>& work) override
    {
        NoProgress progress;
        work(progress);
    }
    void setClipboardText(const std::string&) override {}
    bool showFindDialog(FindFields&) override { return false; }
    bool showReplaceDialog(ReplaceFields&) override { return false; }
    void showAbout() override {}
};

double medianMs(const std::function<void()>& work, int runs)
{
    return 1e3 * bench::medianSeconds(work, runs);
}

// A window of its own opens the file, shows it and is drawn whole into an image.
double openAndDrawMs(Prompts& prompts, const std::string& path, const std::string& placementPath)
{
    return medianMs(
        [&] {
            Editor windowEditor(prompts, *CodePage::byName("1252"));
            MainWindow window(windowEditor, std::nullopt, QString::fromStdString(placementPath));
            window.resize(817, 544);
            windowEditor.loadFile(path);
            window.refresh();
            QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
            window.render(&image);
        },
        5);
}

// One full view of the grid painted into an image, as the window's paint would.
double paintMs(Editor& editor, const std::string& path, bool scrollToEnd)
{
    editor.loadFile(path);
    HexGrid grid(editor);
    grid.resize(640, 560);
    grid.refresh();
    if (scrollToEnd) grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
    QImage image(grid.size(), QImage::Format_ARGB32_Premultiplied);
    return medianMs([&] { grid.render(&image); }, 31);
}

}  // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::string folder = argc > 1 ? argv[1] : "/tmp";
    const std::string placement = folder + "/quillet-grid-bench.INI";
    bench::printMachineLoad();
    SilentPrompts prompts;
    Editor editor(prompts, *CodePage::byName("1252"));

    std::string small = folder + "/quillet-grid-small.rsc";
    bench::writeFile(small, std::vector<std::uint8_t>(300, 0x41));
    std::printf("paint one grid view, small file:            %6.2f ms (target < 5 ms)\n",
                paintMs(editor, small, false));

    std::string big = folder + "/quillet-grid-big.rsc";
    bench::writeRawFile(big, bench::GiB, {});
    bench::warmPageCache(big);
    std::printf("paint one grid view, 1 GiB file, top:       %6.2f ms\n", paintMs(editor, big, false));
    std::printf("paint one grid view, 1 GiB file, last rows: %6.2f ms\n", paintMs(editor, big, true));
    double openBigMs = openAndDrawMs(prompts, big, placement);
    std::printf("open the 1 GiB raw file until its grid is drawn: %6.1f ms (target < 300 ms)\n", openBigMs);
    editor.loadFile(small);  // lets the mapping of the big file go before it is removed
    std::remove(big.c_str());

    std::string entries = folder + "/quillet-grid-entries.rsc";
    bench::writeFile(entries, bench::manyEntriesFile());
    double openMs = openAndDrawMs(prompts, entries, placement);
    std::printf("open the 500 000-entry file until both lists are drawn: %6.1f ms (target < 200 ms)\n", openMs);
    for (const std::string& path : {entries, small, placement}) std::remove(path.c_str());
    return 0;
}
