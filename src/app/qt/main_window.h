#pragma once
#include <QMainWindow>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/file_stamp.h"

class QAction;
class QFileSystemWatcher;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QSplitter;
class QTimer;
class QToolBar;
class QToolButton;
class QWidget;
class QString;

namespace quillet {

class Editor;
class PlacementStorage;
class HexGrid;
class LineList;
class LineListModel;
class TypingLimit;

// The main window: shows the Editor's state and forwards every action of the person to the
// Editor's handler of the same name, then shows the state again. It holds no rule of its own.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `firstArgument` is the file named on the command line, loaded when the window is first
    // activated. The placement is kept in `placementIniPath`, or in the user's placement file
    // when it is empty.
    MainWindow(Editor& editor, std::optional<std::string> firstArgument, const QString& placementIniPath = {},
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // Shows the Editor's state in the widgets, with their signals blocked.
    void refresh();

    // The controls, for the program's start-up and for tests.
    HexGrid* hexGrid() const { return hexGrid_; }
    LineList* segmentList() const { return segmentList_; }
    LineList* indexList() const { return indexList_; }
    QLineEdit* textLine() const { return textLine_; }
    QWidget* textStrip() const { return textStrip_; }
    QLabel* fileNamePanel() const { return fileNamePanel_; }
    QLabel* messagePanel() const { return messagePanel_; }
    QMenu* gridPopup() const { return gridPopup_; }
    QMenu* recentFilesMenu() const { return recentFilesMenu_; }

    // Restores the stored placement before the window is first shown.
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildActions();
    void buildMenus();
    QWidget* buildLeftPane();
    QWidget* buildToolBar();
    QWidget* buildRightPane();
    QWidget* buildTextStrip();
    void buildStatusBar();
    void applyFonts();
    void nameWidgets();
    void connectEvents();
    // Runs a handler of the Editor, then shows the new state.
    template <typename Handler>
    void run(Handler handler);
    void refreshTextLine();
    void refreshTitleAndFileName();
    void refreshRecentFiles();
    void takeFocusRequest();
    void activateOnce();
    void watchDocumentFile();
    void fileChangedOnDisk();
    // Keys in the text line and the grid's in-place editor: the window's shortcuts win over the
    // edits' own key bindings, and undo and redo are the document's unless the text line holds
    // typing of its own. True when the event is held back from the edit.
    bool filterEditKey(QObject* watched, QKeyEvent* key);

    Editor& editor_;
    std::optional<std::string> firstArgument_;
    std::uint64_t shownTextLineFills_ = 0;
    std::vector<std::string> shownRecentFiles_;
    bool recentFilesShown_ = false;
    bool activated_ = false;
    bool placementRestored_ = false;
    int commandDepth_ = 0;  // commands of the Editor running, one inside another's dialog
    bool closing_ = false;
    PlacementStorage* placement_ = nullptr;

    // Hears of changes to the document's file and its folder; the look waits until they stop.
    QFileSystemWatcher* fileWatcher_ = nullptr;
    QTimer* fileLookTimer_ = nullptr;
    std::optional<FileStamp> watchedFile_;

    LineListModel* indexModel_ = nullptr;
    LineListModel* segmentModel_ = nullptr;
    TypingLimit* textLineLimit_ = nullptr;

    QSplitter* paneSplitter_ = nullptr;
    QWidget* leftPane_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QSplitter* listSplitter_ = nullptr;
    LineList* indexList_ = nullptr;
    LineList* segmentList_ = nullptr;
    HexGrid* hexGrid_ = nullptr;
    QWidget* textStrip_ = nullptr;
    QToolButton* applyButton_ = nullptr;
    QLineEdit* textLine_ = nullptr;
    QLabel* fileNamePanel_ = nullptr;
    QLabel* messagePanel_ = nullptr;
    QMenu* gridPopup_ = nullptr;
    QMenu* recentFilesMenu_ = nullptr;

    // Main menu
    QAction* openAction_ = nullptr;
    QAction* saveAsAction_ = nullptr;
    QAction* findAction_ = nullptr;
    QAction* findNextAction_ = nullptr;
    QAction* replaceAction_ = nullptr;
    QAction* forceUnicodeAction_ = nullptr;
    QAction* previousSegmentAction_ = nullptr;
    QAction* nextSegmentAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    // Toolbar
    QAction* openButton_ = nullptr;
    QAction* saveButton_ = nullptr;
    QAction* deleteButton_ = nullptr;
    QAction* forceUnicodeButton_ = nullptr;
    QAction* findButton_ = nullptr;
    QAction* replaceButton_ = nullptr;
    // Undo, redo and the translators' files, after the design's items
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    QAction* exportTextsAction_ = nullptr;
    QAction* importTextsAction_ = nullptr;
    QAction* readSegmentsAgainAction_ = nullptr;
    // Keyboard reach: Delete on the segment list, and Quit
    QAction* deleteSegmentAction_ = nullptr;
    QAction* quitAction_ = nullptr;
    // Popup menu of the grid
    QAction* copyHexAction_ = nullptr;
    QAction* popupFindAction_ = nullptr;
    QAction* popupFindNextAction_ = nullptr;
    QAction* popupPreviousAction_ = nullptr;
    QAction* popupNextAction_ = nullptr;
};

}  // namespace quillet
