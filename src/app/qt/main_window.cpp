#include "app/qt/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/editor.h"
#include "app/qt/app_resources.h"
#include "app/qt/form_placement.h"
#include "app/qt/typing_limit.h"
#include "views/qt/ansi_text.h"
#include "views/qt/hex_grid.h"
#include "views/qt/line_list.h"
#include "views/qt/list_models.h"

namespace quillet {

namespace {

constexpr int WindowWidth = 817;
constexpr int WindowHeight = 544;
constexpr int LeftPaneWidth = 222;
constexpr int ToolBarWidth = 35;
constexpr int ButtonSize = 33;
constexpr int IndexListHeight = 137;
constexpr int SplitterWidth = 6;
constexpr int Panel3Height = 35;
constexpr int Edit1Width = 547;
constexpr int StatusPanel0Width = 400;

QIcon icon(const char* name)
{
    return QIcon(QStringLiteral(":/icons/") + QLatin1String(name) + QStringLiteral(".svg"));
}

std::optional<int> shownRow(const std::optional<std::size_t>& line)
{
    if (!line) return std::nullopt;
    return static_cast<int>(*line);
}

// The list boxes' font: "Courier New" 13 px where it is installed, else the system's fixed font.
QFont listFont()
{
    QFont font = QFontDatabase::families().contains(QStringLiteral("Courier New"))
                     ? QFont(QStringLiteral("Courier New"))
                     : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(13);
    return font;
}

}  // namespace

TFormMain::TFormMain(Editor& editor, std::optional<std::string> firstArgument,
                     const QString& placementIniPath, QWidget* parent)
    : QMainWindow(parent), editor_(editor), firstArgument_(std::move(firstArgument))
{
    loadAppResources();
    setWindowTitle(QStringLiteral("Quillet by Dovrel"));
    setWindowIcon(icon("quillet"));
    applyFonts();
    buildActions();
    buildMenus();

    Splitter2 = new QSplitter(Qt::Horizontal, this);
    Splitter2->setHandleWidth(SplitterWidth);
    Splitter2->setChildrenCollapsible(false);
    Splitter2->addWidget(buildLeftPane());
    Splitter2->addWidget(buildRightPane());
    Splitter2->setStretchFactor(0, 0);
    Splitter2->setStretchFactor(1, 1);
    Splitter2->setSizes({LeftPaneWidth, WindowWidth - LeftPaneWidth - SplitterWidth});
    setCentralWidget(Splitter2);
    buildStatusBar();

    connectEvents();
    resize(WindowWidth, WindowHeight);
    // The placement centres the window on its screen when nothing is stored.
    FormStorage1 = placementIniPath.isEmpty() ? new FormPlacement(this)
                                              : new FormPlacement(this, placementIniPath);
    refresh();
}

TFormMain::~TFormMain() = default;

void TFormMain::applyFonts()
{
    if (QFontDatabase::families().contains(QStringLiteral("MS Sans Serif")))
        setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
}

void TFormMain::buildActions()
{
    auto action = [this](const QString& text, const QKeySequence& shortcut, const char* image) {
        auto* made = new QAction(text, this);
        if (!shortcut.isEmpty()) made->setShortcut(shortcut);
        if (image) made->setIcon(icon(image));
        return made;
    };
    Open1 = action("Open", QKeySequence(Qt::CTRL | Qt::Key_O), "open");
    Saveas1 = action("Save as", QKeySequence(Qt::CTRL | Qt::Key_S), "save");
    Find2 = action("Find", QKeySequence(Qt::CTRL | Qt::Key_F), "find");
    Findnext2 = action("Find next", QKeySequence(Qt::Key_F3), nullptr);
    Replace1 = action("Replace", QKeySequence(Qt::CTRL | Qt::Key_R), "replace");
    Forceunicode1 = action("Force unicode", QKeySequence(Qt::CTRL | Qt::Key_U), nullptr);
    Previousunicodeblock2 = action("Previous segment", QKeySequence(Qt::CTRL | Qt::Key_P), "previous");
    Nextunicodeblock2 = action("Next segment", QKeySequence(Qt::CTRL | Qt::Key_N), "next");
    About1 = action("About", {}, nullptr);

    ToolButton1 = action("Open file", {}, "open");
    ToolButton2 = action("Save file as", {}, "save");
    ToolButton3 = action("Delete current section", {}, "delete");
    ToolButton4 = action("Force unicode", {}, "force");
    ToolButton5 = action("Find data", {}, "find");
    ToolButton6 = action("Replace data", {}, "replace");

    Copy1 = action("Copy HEX", QKeySequence(Qt::CTRL | Qt::Key_C), nullptr);
    Find1 = action("Find", {}, nullptr);
    Findnext1 = action("Find next", {}, nullptr);
    Previousunicodeblock1 = action("Previous unicode block", {}, nullptr);
    Nextunicodeblock1 = action("Next unicode block", {}, nullptr);
}

void TFormMain::buildMenus()
{
    QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("File"));
    fileMenu->addAction(Open1);
    fileMenu->addAction(Saveas1);
    QMenu* editMenu = menuBar()->addMenu(QStringLiteral("Edit"));
    editMenu->addActions({Find2, Findnext2, Replace1, Forceunicode1, Previousunicodeblock2,
                          Nextunicodeblock2});
    menuBar()->addAction(About1);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->addActions({Copy1, Find1, Findnext1, Previousunicodeblock1, Nextunicodeblock1});
}

QWidget* TFormMain::buildToolBar()
{
    ToolBar1 = new QToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setOrientation(Qt::Vertical);
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setFixedWidth(ToolBarWidth);
    ToolBar1->setIconSize(QSize(24, 24));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar1->setContentsMargins(0, 0, 0, 0);
    for (QAction* button : {ToolButton1, ToolButton2, ToolButton3, ToolButton4, ToolButton5, ToolButton6}) {
        button->setToolTip(button->text());
        ToolBar1->addAction(button);
        if (QWidget* widget = ToolBar1->widgetForAction(button)) widget->setFixedSize(ButtonSize, ButtonSize);
    }
    return ToolBar1;
}

QWidget* TFormMain::buildLeftPane()
{
    Panel1 = new QWidget;
    auto* layout = new QHBoxLayout(Panel1);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildToolBar());

    indexModel_ = new IndexListModel(editor_, this);
    segmentModel_ = new SegmentListModel(editor_, this);
    ListBoxPage = new LineList;
    ListBoxPage->setModel(indexModel_);
    ListBox1 = new LineList;
    ListBox1->setModel(segmentModel_);
    QFont font = listFont();
    ListBoxPage->setFont(font);
    ListBox1->setFont(font);

    // Panel4: the index list over the segment list.
    Splitter1 = new QSplitter(Qt::Vertical);
    Splitter1->setHandleWidth(SplitterWidth);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(ListBoxPage);
    Splitter1->addWidget(ListBox1);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({IndexListHeight, WindowHeight});
    layout->addWidget(Splitter1, 1);
    return Panel1;
}

QWidget* TFormMain::buildPanel3()
{
    Panel3 = new QWidget;
    Panel3->setFixedHeight(Panel3Height);
    auto* layout = new QHBoxLayout(Panel3);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(2);

    SpeedButton1 = new QToolButton;
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setFixedSize(ButtonSize, ButtonSize);
    SpeedButton1->setIcon(icon("apply"));
    SpeedButton1->setIconSize(QSize(24, 24));
    SpeedButton1->setFocusPolicy(Qt::NoFocus);

    Edit1 = new QLineEdit;
    Edit1->setFixedWidth(Edit1Width);
    // The typing limit is kept by the validator; QLineEdit's own limit would cut program text.
    Edit1->setMaxLength(32767);
    edit1Limit_ = new TypingLimit(Edit1);
    Edit1->setValidator(edit1Limit_);
    Edit1->installEventFilter(this);

    layout->addWidget(SpeedButton1);
    layout->addWidget(Edit1);
    layout->addStretch(1);
    Panel3->hide();
    return Panel3;
}

QWidget* TFormMain::buildRightPane()
{
    auto* panel2 = new QWidget;
    auto* layout = new QVBoxLayout(panel2);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    RxDrawGrid1 = new HexGrid(editor_);
    RxDrawGrid1->setPopupMenu(PopupMenu1);
    // Ctrl+C copies hex only while the grid or its in-place editor has the focus.
    Copy1->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    RxDrawGrid1->addAction(Copy1);
    layout->addWidget(RxDrawGrid1, 1);
    layout->addWidget(buildPanel3());
    return panel2;
}

void TFormMain::buildStatusBar()
{
    StatusPanel0 = new QLabel;
    StatusPanel0->setFixedWidth(StatusPanel0Width);
    StatusPanel1 = new QLabel;
    StatusPanel1->setMinimumWidth(50);
    for (QLabel* panel : {StatusPanel0, StatusPanel1})
        panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    statusBar()->addWidget(StatusPanel0);
    statusBar()->addWidget(StatusPanel1, 1);
}

template <typename Handler> void TFormMain::run(Handler handler)
{
    handler(editor_);
    refresh();
}

void TFormMain::connectEvents()
{
    auto bind = [this](QAction* action, void (Editor::*handler)()) {
        connect(action, &QAction::triggered, this, [this, handler] { run([handler](Editor& e) { (e.*handler)(); }); });
    };
    bind(Open1, &Editor::ToolButton1Click);
    bind(ToolButton1, &Editor::ToolButton1Click);
    // "Save as" runs the toolbar's save command: Ctrl+S is expected to save.
    bind(Saveas1, &Editor::ToolButton2Click);
    bind(ToolButton2, &Editor::ToolButton2Click);
    bind(ToolButton3, &Editor::ToolButton3Click);
    bind(Forceunicode1, &Editor::ToolButton4Click);
    bind(ToolButton4, &Editor::ToolButton4Click);
    bind(Find2, &Editor::ToolButton5Click);
    bind(Find1, &Editor::ToolButton5Click);
    bind(ToolButton5, &Editor::ToolButton5Click);
    bind(Findnext2, &Editor::Findnext2Click);
    bind(Findnext1, &Editor::Findnext2Click);
    bind(Replace1, &Editor::ToolButton6Click);
    bind(ToolButton6, &Editor::ToolButton6Click);
    // The popup's block items step by one segment, like the menu's.
    bind(Previousunicodeblock2, &Editor::Previousunicodeblock2Click);
    bind(Previousunicodeblock1, &Editor::Previousunicodeblock2Click);
    bind(Nextunicodeblock2, &Editor::Nextunicodeblock2Click);
    bind(Nextunicodeblock1, &Editor::Nextunicodeblock2Click);
    bind(About1, &Editor::About1Click);
    bind(Copy1, &Editor::Copy1Click);

    connect(ListBox1, &LineList::rowPickedByUser, this, [this](int row) {
        run([row](Editor& e) { e.selectSegmentLineByUser(static_cast<std::size_t>(row)); });
    });
    connect(ListBoxPage, &LineList::rowPickedByUser, this, [this](int row) {
        run([row](Editor& e) { e.selectIndexLineByUser(static_cast<std::size_t>(row)); });
    });
    connect(Edit1, &QLineEdit::textEdited, this, [this](const QString& text) {
        edit1Limit_->accept(text);
        std::string typed = fromDisplay(editor_.codePage(), text);
        run([&typed](Editor& e) { e.edit1TextChangedByUser(typed); });
    });
    connect(SpeedButton1, &QToolButton::clicked, this,
            [this] { run([](Editor& e) { e.SpeedButton1Click(); }); });
    connect(RxDrawGrid1, &HexGrid::stateChanged, this, &TFormMain::refresh);
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in Edit1 applies the line, whatever modifiers are held; the key still reaches the edit.
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) run([](Editor& e) { e.SpeedButton1Click(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormMain::refresh()
{
    const WindowState& state = editor_.state();
    indexModel_->refresh();
    segmentModel_->refresh();
    ListBoxPage->setCurrentRow(shownRow(state.ListBoxPageItemIndex));
    ListBox1->setCurrentRow(shownRow(state.ListBox1ItemIndex));
    StatusPanel0->setText(toDisplay(editor_.codePage(), state.StatusPanel0));
    StatusPanel1->setText(toDisplay(editor_.codePage(), state.StatusPanel1));
    Panel3->setVisible(state.Panel3Visible);
    refreshEdit1();
    RxDrawGrid1->refresh();
    takeFocusRequest();
}

void TFormMain::refreshEdit1()
{
    const WindowState& state = editor_.state();
    QSignalBlocker blocker(Edit1);
    QString text = toDisplay(editor_.codePage(), state.Edit1Text);
    if (Edit1->text() != text) Edit1->setText(text);
    edit1Limit_->setLimit(state.Edit1MaxLength);
    edit1Limit_->accept(text);
}

void TFormMain::takeFocusRequest()
{
    switch (editor_.takeFocusRequest()) {
    case FocusRequest::ListBox1: ListBox1->setFocus(); break;
    case FocusRequest::Edit1: Edit1->setFocus(); break;
    case FocusRequest::None: break;
    }
}

void TFormMain::activateOnce()
{
    if (activated_) return;
    activated_ = true;
    run([this](Editor& e) { e.FormActivate(firstArgument_); });
}

void TFormMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The activation handler runs once, after the window has appeared, whether or not the
    // window system ever reports the window as active.
    if (!activated_) QTimer::singleShot(0, this, &TFormMain::activateOnce);
}

bool TFormMain::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) activateOnce();
    return QMainWindow::event(event);
}

void TFormMain::setVisible(bool visible)
{
    if (visible && !placementRestored_) {
        placementRestored_ = true;
        FormStorage1->restore();
    }
    QMainWindow::setVisible(visible);
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted()) FormStorage1->save();
}

}  // namespace quillet
