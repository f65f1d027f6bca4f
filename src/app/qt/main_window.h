#pragma once
#include <QMainWindow>

#include <optional>
#include <string>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QSplitter;
class QToolBar;
class QToolButton;
class QWidget;
class QString;

namespace quillet {

class Editor;
class FormPlacement;
class HexGrid;
class IndexListModel;
class LineList;
class SegmentListModel;
class TypingLimit;

// The main window: shows the Editor's state and forwards every action of the person to the
// Editor's handler of the same name, then shows the state again. It holds no rule of its own.
class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    // `firstArgument` is the file named on the command line, loaded when the window is first
    // activated. The placement is kept in `placementIniPath`, or in the user's placement file
    // when it is empty.
    TFormMain(Editor& editor, std::optional<std::string> firstArgument,
              const QString& placementIniPath = {}, QWidget* parent = nullptr);
    ~TFormMain() override;

    // Shows the Editor's state in the widgets, with their signals blocked.
    void refresh();

    // The controls, for the program's start-up and for tests.
    HexGrid* grid() const { return RxDrawGrid1; }
    LineList* segmentList() const { return ListBox1; }
    LineList* indexList() const { return ListBoxPage; }
    QLineEdit* edit1() const { return Edit1; }
    QWidget* panel3() const { return Panel3; }
    QLabel* statusPanel(int panel) const { return panel == 0 ? StatusPanel0 : StatusPanel1; }
    QMenu* popupMenu() const { return PopupMenu1; }

    // Restores the stored placement before the window is first shown.
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildActions();
    void buildMenus();
    QWidget* buildLeftPane();
    QWidget* buildToolBar();
    QWidget* buildRightPane();
    QWidget* buildPanel3();
    void buildStatusBar();
    void applyFonts();
    void connectEvents();
    // Runs a handler of the Editor, then shows the new state.
    template <typename Handler> void run(Handler handler);
    void refreshEdit1();
    void takeFocusRequest();
    void activateOnce();

    Editor& editor_;
    std::optional<std::string> firstArgument_;
    bool activated_ = false;
    bool placementRestored_ = false;
    FormPlacement* FormStorage1 = nullptr;

    IndexListModel* indexModel_ = nullptr;
    SegmentListModel* segmentModel_ = nullptr;
    TypingLimit* edit1Limit_ = nullptr;

    QSplitter* Splitter2 = nullptr;
    QWidget* Panel1 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QSplitter* Splitter1 = nullptr;
    LineList* ListBoxPage = nullptr;
    LineList* ListBox1 = nullptr;
    HexGrid* RxDrawGrid1 = nullptr;
    QWidget* Panel3 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* StatusPanel0 = nullptr;
    QLabel* StatusPanel1 = nullptr;
    QMenu* PopupMenu1 = nullptr;

    // Main menu
    QAction* Open1 = nullptr;
    QAction* Saveas1 = nullptr;
    QAction* Find2 = nullptr;
    QAction* Findnext2 = nullptr;
    QAction* Replace1 = nullptr;
    QAction* Forceunicode1 = nullptr;
    QAction* Previousunicodeblock2 = nullptr;
    QAction* Nextunicodeblock2 = nullptr;
    QAction* About1 = nullptr;
    // Toolbar
    QAction* ToolButton1 = nullptr;
    QAction* ToolButton2 = nullptr;
    QAction* ToolButton3 = nullptr;
    QAction* ToolButton4 = nullptr;
    QAction* ToolButton5 = nullptr;
    QAction* ToolButton6 = nullptr;
    // Popup menu of the grid
    QAction* Copy1 = nullptr;
    QAction* Find1 = nullptr;
    QAction* Findnext1 = nullptr;
    QAction* Previousunicodeblock1 = nullptr;
    QAction* Nextunicodeblock1 = nullptr;
};

}  // namespace quillet
