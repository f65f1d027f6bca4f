// Times what the window does on large files: painting one full view of the hex grid, and
// opening a file with a long index until both lists are shown.
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
#include "bench_files.h"
#include "app/qt/main_window.h"
#include "model/loader.h"
#include "views/qt/hex_grid.h"

using namespace quillet;

namespace {

class SilentPrompts : public Prompts {
public:
    bool askYesNo(MessageKind, const std::string&, const std::string&) override { return false; }
    void showMessage(MessageKind, const std::string&, const std::string&) override {}
    std::optional<std::string> askOpenFileName(const std::string&) override { return std::nullopt; }
    std::optional<std::string> askSaveFileName() override { return std::nullopt; }
    void setClipboardText(const std::string&) override {}
    bool showFindDialog(FindFields&) override { return false; }
    bool showReplaceDialog(ReplaceFields&) override { return false; }
    void showAbout() override {}
};

double medianMs(const std::function<void()>& work, int runs)
{
    return 1e3 * bench::medianSeconds(work, runs);
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
    SilentPrompts prompts;
    Editor editor(prompts, *CodePage::byName("1252"));

    std::string small = "/tmp/quillet-grid-small.rsc";
    bench::writeFile(small, std::vector<std::uint8_t>(300, 0x41));
    std::printf("paint one grid view, small file:            %6.2f ms (target < 5 ms)\n", paintMs(editor, small, false));

    std::string big = "/tmp/quillet-grid-big.rsc";
    {
        std::vector<std::uint8_t> bytes(std::size_t(1) << 30);
        for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i);
        bytes[0] = 0x55;
        bench::writeFile(big, bytes);
    }
    std::printf("paint one grid view, 1 GiB file, top:       %6.2f ms\n", paintMs(editor, big, false));
    std::printf("paint one grid view, 1 GiB file, last rows: %6.2f ms\n", paintMs(editor, big, true));
    std::remove(big.c_str());

    std::string entries = "/tmp/quillet-grid-entries.rsc";
    bench::writeFile(entries, bench::manyEntriesFile());
    double openMs = medianMs(
        [&] {
            Editor windowEditor(prompts, *CodePage::byName("1252"));
            MainWindow window(windowEditor, std::nullopt, "/tmp/quillet-grid-bench.INI");
            window.resize(817, 544);
            windowEditor.loadFile(entries);
            window.refresh();
            QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
            window.render(&image);
        },
        5);
    std::printf("open the 500 000-entry file until both lists are drawn: %6.1f ms (target < 200 ms)\n", openMs);
    std::remove(entries.c_str());
    std::remove(small.c_str());
    return 0;
}
