#include "app/qt/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <initializer_list>
#include <new>

#include "app/editor.h"
#include "app/ini_file.h"
#include "app/qt/app_resources.h"
#include "app/qt/placement_storage.h"
#include "app/qt/typing_limit.h"
#include "app/recent_files.h"
#include "model/file_stamp.h"
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
constexpr int TextStripHeight = 35;
// The line takes the strip's width (547 at the window's design size) and gives up to this much
// where the screen is small.
constexpr int TextLineMinimumWidth = 200;
constexpr int FileNamePanelWidth = 400;
// A recent file's path in the menu is shortened in its middle to about this many pixels.
constexpr int RecentFileTextWidth = 480;
const QString ProgramCaption = QStringLiteral("Quillet by Dovrel");

QIcon icon(const char* name)
{
    return QIcon(QStringLiteral(":/icons/") + QLatin1String(name) + QStringLiteral(".svg"));
}

QString shownPath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// The file a drop names, if it is one local file.
std::optional<std::string> droppedFile(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return std::nullopt;
    const QUrl& url = data->urls().constFirst();
    if (!url.isLocalFile()) return std::nullopt;
    return QFile::encodeName(url.toLocalFile()).toStdString();
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

MainWindow::MainWindow(Editor& editor, std::optional<std::string> firstArgument, const QString& placementIniPath,
                       QWidget* parent)
    : QMainWindow(parent), editor_(editor), firstArgument_(std::move(firstArgument))
{
    loadAppResources();
    // The usual mark of a modified document: a "*" after the file's name (refreshTitleAndFileName).
    setWindowTitle(ProgramCaption + QStringLiteral("[*]"));
    setAcceptDrops(true);
    setWindowIcon(icon("quillet"));
    applyFonts();
    buildActions();
    buildMenus();

    paneSplitter_ = new QSplitter(Qt::Horizontal, this);
    paneSplitter_->setHandleWidth(SplitterWidth);
    paneSplitter_->setChildrenCollapsible(false);
    paneSplitter_->addWidget(buildLeftPane());
    paneSplitter_->addWidget(buildRightPane());
    paneSplitter_->setStretchFactor(0, 0);
    paneSplitter_->setStretchFactor(1, 1);
    // Wide enough for whole grid rows beside the grid's scroll bar, which the style may make wider.
    const int windowWidth = std::max(WindowWidth, LeftPaneWidth + SplitterWidth + hexGrid_->wholeRowsWidth());
    paneSplitter_->setSizes({LeftPaneWidth, windowWidth - LeftPaneWidth - SplitterWidth});
    setCentralWidget(paneSplitter_);
    buildStatusBar();

    nameWidgets();
    connectEvents();
    resize(windowWidth, WindowHeight);
    // The placement centres the window on its screen when nothing is stored.
    placement_ = placementIniPath.isEmpty() ? new PlacementStorage(this) : new PlacementStorage(this, placementIniPath);
    // The recent files live in the same settings file as the placement.
    shownRecentFiles_ = readRecentFiles(loadIniFile(QFile::encodeName(placement_->iniPath()).toStdString()),
                                        RecentFilesKept);
    editor_.setRecentFiles(shownRecentFiles_);
    refresh();
}

MainWindow::~MainWindow() = default;

void MainWindow::applyFonts()
{
    if (QFontDatabase::families().contains(QStringLiteral("MS Sans Serif")))
        setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
}

void MainWindow::buildActions()
{
    auto action = [this](const QString& text, const QKeySequence& shortcut, const char* image) {
        auto* made = new QAction(text, this);
        if (!shortcut.isEmpty()) made->setShortcut(shortcut);
        if (image) made->setIcon(icon(image));
        return made;
    };
    // Every menu item has an access key, unique in its menu.
    openAction_ = action(tr("&Open"), QKeySequence(Qt::CTRL | Qt::Key_O), "open");
    saveAsAction_ = action(tr("Save &as"), QKeySequence(Qt::CTRL | Qt::Key_S), "save");
    findAction_ = action(tr("&Find"), QKeySequence(Qt::CTRL | Qt::Key_F), "find");
    findNextAction_ = action(tr("Find &next"), QKeySequence(Qt::Key_F3), nullptr);
    replaceAction_ = action(tr("&Replace"), QKeySequence(Qt::CTRL | Qt::Key_R), "replace");
    forceUnicodeAction_ = action(tr("Force uni&code"), QKeySequence(Qt::CTRL | Qt::Key_U), nullptr);
    previousSegmentAction_ = action(tr("&Previous segment"), QKeySequence(Qt::CTRL | Qt::Key_P), "previous");
    nextSegmentAction_ = action(tr("Ne&xt segment"), QKeySequence(Qt::CTRL | Qt::Key_N), "next");
    aboutAction_ = action(tr("&About"), {}, nullptr);

    openButton_ = action(tr("Open file"), {}, "open");
    saveButton_ = action(tr("Save file as"), {}, "save");
    deleteButton_ = action(tr("Delete current section"), {}, "delete");
    forceUnicodeButton_ = action(tr("Force unicode"), {}, "force");
    findButton_ = action(tr("Find data"), {}, "find");
    replaceButton_ = action(tr("Replace data"), {}, "replace");

    copyHexAction_ = action(tr("&Copy HEX"), QKeySequence(Qt::CTRL | Qt::Key_C), nullptr);
    popupFindAction_ = action(tr("&Find"), {}, nullptr);
    popupFindNextAction_ = action(tr("Find &next"), {}, nullptr);
    popupPreviousAction_ = action(tr("&Previous unicode block"), {}, nullptr);
    popupNextAction_ = action(tr("Ne&xt unicode block"), {}, nullptr);

    // After the design's items: undo and redo, and the translators' files.
    undoAction_ = action(tr("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), nullptr);
    redoAction_ = action(tr("R&edo"), QKeySequence(Qt::CTRL | Qt::Key_Y), nullptr);
    redoAction_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    exportTextsAction_ = action(tr("&Export texts..."), {}, nullptr);
    importTextsAction_ = action(tr("&Import texts..."), {}, nullptr);
    readSegmentsAgainAction_ = action(tr("Read segments a&gain"), {}, nullptr);
    // The Delete key deletes the selected segment while the segment list has the focus.
    deleteSegmentAction_ = action(tr("&Delete segment"), QKeySequence(Qt::Key_Delete), nullptr);
    deleteSegmentAction_->setShortcutContext(Qt::WidgetShortcut);
    quitAction_ = action(tr("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), nullptr);
}

void MainWindow::buildMenus()
{
    QMenu* fileMenu = menuBar()->addMenu(tr("&File"));
    fileMenu->addAction(openAction_);
    recentFilesMenu_ = fileMenu->addMenu(tr("Open &recent"));
    fileMenu->addAction(saveAsAction_);
    fileMenu->addSeparator();
    fileMenu->addActions({exportTextsAction_, importTextsAction_});
    fileMenu->addSeparator();
    fileMenu->addAction(quitAction_);
    QMenu* editMenu = menuBar()->addMenu(tr("&Edit"));
    editMenu->addActions({findAction_, findNextAction_, replaceAction_, forceUnicodeAction_, previousSegmentAction_,
                          nextSegmentAction_, deleteSegmentAction_});
    editMenu->addSeparator();
    editMenu->addActions({undoAction_, redoAction_});
    editMenu->addSeparator();
    editMenu->addAction(readSegmentsAgainAction_);
    menuBar()->addAction(aboutAction_);

    gridPopup_ = new QMenu(this);
    gridPopup_->addActions(
        {copyHexAction_, popupFindAction_, popupFindNextAction_, popupPreviousAction_, popupNextAction_});
    gridPopup_->addSeparator();
    gridPopup_->addActions({undoAction_, redoAction_});
}

QWidget* MainWindow::buildToolBar()
{
    toolBar_ = new QToolBar(tr("Tools"));
    toolBar_->setOrientation(Qt::Vertical);
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setFixedWidth(ToolBarWidth);
    toolBar_->setIconSize(QSize(24, 24));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar_->setContentsMargins(0, 0, 0, 0);
    for (QAction* button :
         {openButton_, saveButton_, deleteButton_, forceUnicodeButton_, findButton_, replaceButton_}) {
        button->setToolTip(button->text());
        toolBar_->addAction(button);
        if (QWidget* widget = toolBar_->widgetForAction(button)) widget->setFixedSize(ButtonSize, ButtonSize);
    }
    return toolBar_;
}

QWidget* MainWindow::buildLeftPane()
{
    leftPane_ = new QWidget;
    auto* layout = new QHBoxLayout(leftPane_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildToolBar());

    indexModel_ = new LineListModel(editor_, LineListModel::Lines::Index, this);
    segmentModel_ = new LineListModel(editor_, LineListModel::Lines::Segments, this);
    indexList_ = new LineList;
    indexList_->setModel(indexModel_);
    segmentList_ = new LineList;
    segmentList_->setModel(segmentModel_);
    QFont font = listFont();
    indexList_->setFont(font);
    segmentList_->setFont(font);
    segmentList_->addAction(deleteSegmentAction_);

    // The index list over the segment list.
    listSplitter_ = new QSplitter(Qt::Vertical);
    listSplitter_->setHandleWidth(SplitterWidth);
    listSplitter_->setChildrenCollapsible(false);
    listSplitter_->addWidget(indexList_);
    listSplitter_->addWidget(segmentList_);
    listSplitter_->setStretchFactor(0, 0);
    listSplitter_->setStretchFactor(1, 1);
    listSplitter_->setSizes({IndexListHeight, WindowHeight});
    layout->addWidget(listSplitter_, 1);
    return leftPane_;
}

QWidget* MainWindow::buildTextStrip()
{
    textStrip_ = new QWidget;
    textStrip_->setFixedHeight(TextStripHeight);
    auto* layout = new QHBoxLayout(textStrip_);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(2);

    applyButton_ = new QToolButton;
    applyButton_->setAutoRaise(true);
    applyButton_->setFixedSize(ButtonSize, ButtonSize);
    applyButton_->setIcon(icon("apply"));
    applyButton_->setIconSize(QSize(24, 24));
    applyButton_->setFocusPolicy(Qt::NoFocus);

    textLine_ = new QLineEdit;
    textLine_->setMinimumWidth(TextLineMinimumWidth);
    // A file dropped on the window opens; a text line would take its name as text.
    textLine_->setAcceptDrops(false);
    // The typing limit is kept by the validator; QLineEdit's own limit would cut program text.
    textLine_->setMaxLength(static_cast<int>(TextLineCapacity));
    textLineLimit_ = new TypingLimit(textLine_);
    textLine_->setValidator(textLineLimit_);
    textLine_->installEventFilter(this);

    layout->addWidget(applyButton_);
    layout->addWidget(textLine_, 1);
    textStrip_->hide();
    return textStrip_;
}

QWidget* MainWindow::buildRightPane()
{
    auto* panel2 = new QWidget;
    auto* layout = new QVBoxLayout(panel2);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    hexGrid_ = new HexGrid(editor_);
    hexGrid_->setPopupMenu(gridPopup_);
    // Ctrl+C copies hex only while the grid or its in-place editor has the focus.
    copyHexAction_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    hexGrid_->addAction(copyHexAction_);
    hexGrid_->inPlaceEditor()->setAcceptDrops(false);
    hexGrid_->inPlaceEditor()->installEventFilter(this);
    layout->addWidget(hexGrid_, 1);
    layout->addWidget(buildTextStrip());
    return panel2;
}

void MainWindow::buildStatusBar()
{
    fileNamePanel_ = new QLabel;
    fileNamePanel_->setFixedWidth(FileNamePanelWidth);
    messagePanel_ = new QLabel;
    messagePanel_->setMinimumWidth(50);
    for (QLabel* panel : {fileNamePanel_, messagePanel_}) {
        panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        panel->setTextFormat(Qt::PlainText);
    }
    statusBar()->addWidget(fileNamePanel_);
    statusBar()->addWidget(messagePanel_, 1);
}

// Tests and accessibility tools find the controls by these names.
void MainWindow::nameWidgets()
{
    const std::pair<QObject*, const char*> named[] = {
        {indexList_, "indexList"},
        {segmentList_, "segmentList"},
        {hexGrid_, "hexGrid"},
        {textStrip_, "textStrip"},
        {applyButton_, "applyButton"},
        {textLine_, "textLine"},
        {fileNamePanel_, "fileNamePanel"},
        {messagePanel_, "messagePanel"},
        {gridPopup_, "gridPopup"},
        {recentFilesMenu_, "recentFilesMenu"},
        {toolBar_, "toolBar"},
    };
    for (const auto& [object, name] : named) object->setObjectName(QString::fromLatin1(name));
}

// A command that runs out of memory ends with a message, never with the program: the edits
// themselves take back what they had done.
template <typename Handler>
void MainWindow::run(Handler handler)
{
    ++commandDepth_;
    try {
        handler(editor_);
        // A change another program made meanwhile is told at once, also where no watcher hears
        // of changes (a network file system), over the document as the change left it.
        if (!closing_ && editor_.noticeFileChange()) {
            refresh();
            editor_.checkFileOnDisk();
        }
    } catch (const std::bad_alloc&) {
        QMessageBox::critical(this, QStringLiteral("Quillet"),
                              tr("There is not enough memory to finish this command."));
    }
    --commandDepth_;
    watchDocumentFile();
    refresh();
}

// The folder is watched too: a file replaced by a rename, or made anew, is seen there. The
// system watches a file, not a name: a name that now holds another file is watched afresh.
void MainWindow::watchDocumentFile()
{
    std::string documentPath = editor_.documentPath();
    std::optional<FileStamp> file = documentPath.empty() ? std::nullopt : stampOfPath(documentPath);
    QStringList wanted;
    if (!documentPath.empty()) {
        QFileInfo info(QFile::decodeName(QByteArray::fromStdString(documentPath)));
        wanted << info.absolutePath();
        if (file) wanted << info.absoluteFilePath();
    }
    bool sameFile = file && watchedFile_ && file->isSameFileAs(*watchedFile_);
    for (const QString& path : fileWatcher_->files())
        if (!wanted.contains(path) || !sameFile) fileWatcher_->removePath(path);
    for (const QString& path : fileWatcher_->directories())
        if (!wanted.contains(path)) fileWatcher_->removePath(path);
    for (const QString& path : wanted)
        if (!fileWatcher_->files().contains(path) && !fileWatcher_->directories().contains(path))
            fileWatcher_->addPath(path);
    watchedFile_ = file;
}

// A program writing the file sends many changes: the look comes once they stop for a moment,
// and never in the middle of a command (which looks when it ends).
void MainWindow::fileChangedOnDisk()
{
    if (commandDepth_ > 0) {
        fileLookTimer_->start();
        return;
    }
    run([](Editor&) {});
}

void MainWindow::connectEvents()
{
    auto bind = [this](QAction* action, auto handler) {
        connect(action, &QAction::triggered, this, [this, handler] { run([handler](Editor& e) { (e.*handler)(); }); });
    };
    bind(openAction_, &Editor::openFile);
    bind(openButton_, &Editor::openFile);
    // "Save as" runs the toolbar's save command: Ctrl+S is expected to save.
    bind(saveAsAction_, &Editor::saveFileAs);
    bind(saveButton_, &Editor::saveFileAs);
    bind(deleteButton_, &Editor::deleteCurrentSegment);
    bind(deleteSegmentAction_, &Editor::deleteCurrentSegment);
    connect(quitAction_, &QAction::triggered, this, &QWidget::close);
    bind(forceUnicodeAction_, &Editor::forceUnicode);
    bind(forceUnicodeButton_, &Editor::forceUnicode);
    bind(findAction_, &Editor::find);
    bind(popupFindAction_, &Editor::find);
    bind(findButton_, &Editor::find);
    bind(findNextAction_, &Editor::findNext);
    bind(popupFindNextAction_, &Editor::findNext);
    bind(replaceAction_, &Editor::replace);
    bind(replaceButton_, &Editor::replace);
    // The popup's block items step by one segment, like the menu's.
    bind(previousSegmentAction_, &Editor::previousSegment);
    bind(popupPreviousAction_, &Editor::previousSegment);
    bind(nextSegmentAction_, &Editor::nextSegment);
    bind(popupNextAction_, &Editor::nextSegment);
    bind(aboutAction_, &Editor::showAbout);
    bind(copyHexAction_, &Editor::copyHex);
    bind(undoAction_, &Editor::undo);
    bind(redoAction_, &Editor::redo);
    bind(exportTextsAction_, &Editor::exportTexts);
    bind(importTextsAction_, &Editor::importTexts);
    bind(readSegmentsAgainAction_, &Editor::readSegmentsAgain);

    connect(segmentList_, &LineList::rowPickedByUser, this,
            [this](int row) { run([row](Editor& e) { e.selectSegment(static_cast<std::size_t>(row)); }); });
    connect(indexList_, &LineList::rowPickedByUser, this,
            [this](int row) { run([row](Editor& e) { e.selectIndexLine(static_cast<std::size_t>(row)); }); });
    connect(textLine_, &QLineEdit::textEdited, this, [this](const QString& text) {
        textLineLimit_->accept(text);
        std::u16string typed = text.toStdU16String();
        bool cut = textLineLimit_->takeCut();
        run([&typed, cut](Editor& e) { e.textLineEdited(typed, cut); });
    });
    connect(applyButton_, &QToolButton::clicked, this, [this] { run([](Editor& e) { e.applyTextLine(); }); });
    connect(hexGrid_, &HexGrid::stateChanged, this, &MainWindow::refresh);

    fileWatcher_ = new QFileSystemWatcher(this);
    fileLookTimer_ = new QTimer(this);
    fileLookTimer_->setSingleShot(true);
    fileLookTimer_->setInterval(100);
    auto heard = [this] { fileLookTimer_->start(); };
    connect(fileWatcher_, &QFileSystemWatcher::fileChanged, this, heard);
    connect(fileWatcher_, &QFileSystemWatcher::directoryChanged, this, heard);
    connect(fileLookTimer_, &QTimer::timeout, this, &MainWindow::fileChangedOnDisk);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    bool edit = watched == textLine_ || watched == hexGrid_->inPlaceEditor();
    bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride;
    if (edit && key && filterEditKey(watched, static_cast<QKeyEvent*>(event))) return true;
    // Enter in textLine_ applies the line, whatever modifiers are held; the key still reaches the edit.
    if (watched == textLine_ && event->type() == QEvent::KeyPress) {
        int pressed = static_cast<QKeyEvent*>(event)->key();
        if (pressed == Qt::Key_Return || pressed == Qt::Key_Enter) run([](Editor& e) { e.applyTextLine(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

// A ShortcutOverride held back here is not accepted, so the window's shortcut runs; a key press
// held back goes nowhere (an undo with nothing to undo must not reach the edit's own history).
bool MainWindow::filterEditKey(QObject* watched, QKeyEvent* key)
{
    QKeySequence pressed(key->keyCombination());
    bool history = undoAction_->shortcuts().contains(pressed) || redoAction_->shortcuts().contains(pressed);
    if (history) return watched != textLine_ || !editor_.lineHoldsTyping();
    if (key->type() != QEvent::ShortcutOverride) return false;
    const std::initializer_list<const QAction*> windowShortcuts{
        openAction_,         saveAsAction_,          findAction_,        findNextAction_, replaceAction_,
        forceUnicodeAction_, previousSegmentAction_, nextSegmentAction_, quitAction_};
    return std::ranges::any_of(windowShortcuts,
                               [&pressed](const QAction* action) { return action->shortcuts().contains(pressed); });
}

void MainWindow::refresh()
{
    const WindowState& state = editor_.state();
    indexModel_->refresh();
    segmentModel_->refresh();
    indexList_->setCurrentRow(shownRow(state.selectedIndexLine));
    segmentList_->setCurrentRow(shownRow(state.selectedSegment));
    refreshTitleAndFileName();
    messagePanel_->setText(QString::fromStdString(state.messagePanel));
    messagePanel_->setToolTip(messagePanel_->text());
    textStrip_->setVisible(state.textStripVisible);
    refreshTextLine();
    hexGrid_->refresh();
    // Undo also takes back typing in the text line.
    undoAction_->setEnabled(editor_.canUndo() || editor_.lineHoldsTyping());
    redoAction_->setEnabled(editor_.canRedo());
    refreshRecentFiles();
    takeFocusRequest();
}

// "NAME[*] - Quillet by Dovrel": the "*" shows for unsaved work, typing in the text line included.
// The status bar names the file too, with its full path in the tooltip.
void MainWindow::refreshTitleAndFileName()
{
    QString name = shownPath(editor_.documentName());
    QString title = ProgramCaption + QStringLiteral("[*]");
    if (!name.isEmpty()) {
        QString literal = name;
        literal.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));  // Qt's escape of a literal [*]
        title = tr("%1[*] - %2", "file name - program caption").arg(literal, ProgramCaption);
    }
    if (windowTitle() != title) setWindowTitle(title);
    setWindowModified(editor_.showsUnsavedWork());
    QString path = shownPath(editor_.state().fileNamePanel);
    int room = fileNamePanel_->contentsRect().width() - 2 * fileNamePanel_->margin() - 4;
    fileNamePanel_->setText(fileNamePanel_->fontMetrics().elidedText(name, Qt::ElideMiddle, std::max(room, 40)));
    fileNamePanel_->setToolTip(path);
}

// The File menu offers the recent files as "&1 /path/name.rsc", and the settings keep them.
void MainWindow::refreshRecentFiles()
{
    const std::vector<std::string>& files = editor_.recentFiles();
    if (recentFilesShown_ && files == shownRecentFiles_) return;
    recentFilesShown_ = true;
    if (files != shownRecentFiles_) {
        std::string iniPath = QFile::encodeName(placement_->iniPath()).toStdString();
        IniFile ini = loadIniFile(iniPath);
        writeRecentFiles(ini, files);
        saveIniFile(iniPath, ini);  // a settings file that cannot be written keeps the list for this run
        shownRecentFiles_ = files;
    }
    recentFilesMenu_->clear();
    QFontMetrics metrics(recentFilesMenu_->font());
    for (std::size_t n = 0; n < files.size(); ++n) {
        QString path = metrics.elidedText(shownPath(files[n]), Qt::ElideMiddle, RecentFileTextWidth);
        path.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* item = recentFilesMenu_->addAction(
            tr("&%1 %2", "number and path of a recent file").arg(n + 1).arg(path));
        item->setToolTip(shownPath(files[n]));
        connect(item, &QAction::triggered, this, [this, n] { run([n](Editor& e) { e.openRecentFile(n); }); });
    }
    recentFilesMenu_->setEnabled(!files.empty());
}

void MainWindow::refreshTextLine()
{
    const WindowState& state = editor_.state();
    QSignalBlocker blocker(textLine_);
    QString text = QString::fromStdU16String(state.textLine);
    // A fill by the program starts the line's own undo history afresh (setText clears it).
    bool filled = state.textLineFills != shownTextLineFills_;
    shownTextLineFills_ = state.textLineFills;
    if (filled || textLine_->text() != text) textLine_->setText(text);
    textLineLimit_->setLimit(state.textLineMaxLength);
    textLineLimit_->accept(text);
}

void MainWindow::takeFocusRequest()
{
    switch (editor_.takeFocusRequest()) {
    case FocusRequest::SegmentList: segmentList_->setFocus(); break;
    case FocusRequest::TextLine: textLine_->setFocus(); break;
    case FocusRequest::Grid: hexGrid_->setFocus(); break;
    case FocusRequest::None: break;
    }
}

void MainWindow::activateOnce()
{
    if (activated_) return;
    activated_ = true;
    run([this](Editor& e) { e.activate(firstArgument_); });
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (droppedFile(event->mimeData())) event->acceptProposedAction();
}

// A file dropped on the window opens as Open would, through the unsaved-work guard.
void MainWindow::dropEvent(QDropEvent* event)
{
    std::optional<std::string> file = droppedFile(event->mimeData());
    if (!file) return;
    event->acceptProposedAction();
    run([&file](Editor& e) { e.loadFile(*file); });
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The activation handler runs once, after the window has appeared, whether or not the
    // window system ever reports the window as active.
    if (!activated_) QTimer::singleShot(0, this, &MainWindow::activateOnce);
}

bool MainWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) activateOnce();
    return QMainWindow::event(event);
}

void MainWindow::setVisible(bool visible)
{
    if (visible && !placementRestored_) {
        placementRestored_ = true;
        placement_->restore();
    }
    QMainWindow::setVisible(visible);
}

// A modified document is offered for saving first; Cancel, or a save that failed, keeps the
// window open.
void MainWindow::closeEvent(QCloseEvent* event)
{
    bool mayClose = false;
    closing_ = true;
    run([&mayClose](Editor& e) { mayClose = e.confirmClose(); });
    closing_ = false;
    if (!mayClose) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
    if (event->isAccepted()) placement_->save();
}

}  // namespace quillet
