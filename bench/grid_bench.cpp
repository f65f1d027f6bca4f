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
#include "app/qt/main_window.h"
#include "model/loader.h"
#include "views/qt/hex_grid.h"

using namespace quillet;

namespace {

class SilentPrompts : public Prompts {
public:
    bool askYesNo(MessageKind, const std::string&, const std::string&) override { return false; }
    void showMessage(MessageKind, const std::string&, const std::string&) override {}
    std::optional<std::string> askOpenFileName() override { return std::nullopt; }
    std::optional<std::string> askSaveFileName() override { return std::nullopt; }
    void setClipboardText(const std::string&) override {}
    bool showFindDialog(FindFields&) override { return false; }
    bool showReplaceDialog(ReplaceFields&) override { return false; }
    void showAbout() override {}
};

double medianMs(const std::function<void()>& work, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// One full view of the grid painted into an image, as the window's paint would.
double paintMs(Editor& editor, const std::string& path, bool scrollToEnd)
{
    editor.OpenRSC(path);
    HexGrid grid(editor);
    grid.resize(640, 560);
    grid.refresh();
    if (scrollToEnd) grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
    QImage image(grid.size(), QImage::Format_ARGB32_Premultiplied);
    return medianMs([&] { grid.render(&image); }, 31);
}

std::vector<std::uint8_t> manyEntriesFile()
{
    const int indexOffset = 65000;
    std::vector<std::uint8_t> file(indexOffset, 0x11);
    std::vector<std::uint16_t> entries;
    for (int position = 4; entries.size() < 30000; position += 2) entries.push_back(static_cast<std::uint16_t>(position));
    while (entries.size() < 500000) entries.push_back(entries[entries.size() % 30000]);
    for (std::uint16_t entry : entries) {
        file.push_back(static_cast<std::uint8_t>(entry));
        file.push_back(static_cast<std::uint8_t>(entry >> 8));
    }
    file.push_back(static_cast<std::uint8_t>(indexOffset));
    file.push_back(static_cast<std::uint8_t>(indexOffset >> 8));
    file[0] = static_cast<std::uint8_t>(indexOffset);
    file[1] = static_cast<std::uint8_t>(indexOffset >> 8);
    return file;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    SilentPrompts prompts;
    Editor editor(prompts, *CodePage::byName("1252"));

    std::string small = "/tmp/quillet-grid-small.rsc";
    writeFile(small, std::vector<std::uint8_t>(300, 0x41));
    std::printf("paint one grid view, small file:            %6.2f ms (target < 5 ms)\n", paintMs(editor, small, false));

    std::string big = "/tmp/quillet-grid-big.rsc";
    {
        std::vector<std::uint8_t> bytes(std::size_t(1) << 30);
        for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i);
        bytes[0] = 0x55;
        writeFile(big, bytes);
    }
    std::printf("paint one grid view, 1 GiB file, top:       %6.2f ms\n", paintMs(editor, big, false));
    std::printf("paint one grid view, 1 GiB file, last rows: %6.2f ms\n", paintMs(editor, big, true));
    std::remove(big.c_str());

    std::string entries = "/tmp/quillet-grid-entries.rsc";
    writeFile(entries, manyEntriesFile());
    double openMs = medianMs(
        [&] {
            Editor windowEditor(prompts, *CodePage::byName("1252"));
            TFormMain window(windowEditor, std::nullopt, "/tmp/quillet-grid-bench.INI");
            window.resize(817, 544);
            windowEditor.OpenRSC(entries);
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
