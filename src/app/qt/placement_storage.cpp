#include "app/qt/placement_storage.h"

#include <algorithm>
#include <cmath>

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include "app/config_path.h"
#include "app/ini_file.h"
#include "app/placement.h"

namespace quillet {

namespace {

// How long after the window first shows its frame may still change, as the window manager
// decorates it.
constexpr int FitAfterShowMilliseconds = 1500;
// Room left for a frame not known yet: a title bar and thin borders. (A window exactly the size of
// the screen would also be taken for a full-screen one by some window managers.)
constexpr FrameMargins UnknownFrame{8, 32, 8, 8};

PlacementRect placementRectOf(const QRect& rect)
{
    return PlacementRect{rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
}

QScreen* screenOf(const QWidget* window)
{
    QScreen* screen = window->screen();
    return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

ScreenSetup screenSetupOf(const QWidget* window)
{
    ScreenSetup setup;
    if (QScreen* screen = screenOf(window)) {
        setup.width = screen->size().width();
        setup.height = screen->size().height();
        setup.pixelsPerInch = static_cast<int>(std::lround(screen->logicalDotsPerInch()));
    }
    for (const QScreen* screen : QGuiApplication::screens())
        setup.screens.push_back(placementRectOf(screen->geometry()));
    return setup;
}

WindowPlacement placementOf(const QWidget* window)
{
    WindowPlacement placement;
    if (window->isMinimized())
        placement.state = ShowState::Minimised;
    else if (window->isMaximized())
        placement.state = ShowState::Maximised;
    // A maximised window's frame lies just off the screen edge.
    int frame = std::max(0, window->geometry().x() - window->frameGeometry().x());
    placement.maxX = -frame;
    placement.maxY = -frame;
    QRect normal = window->normalGeometry();
    placement.normal = placementRectOf(normal.isValid() ? normal : window->geometry());
    return placement;
}

FrameMargins frameMarginsOf(const QWidget* window)
{
    QRect frame = window->frameGeometry();
    QRect inner = window->geometry();
    return FrameMargins{inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                        frame.bottom() - inner.bottom()};
}

std::vector<PlacementRect> workAreas()
{
    std::vector<PlacementRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.push_back(placementRectOf(screen->availableGeometry()));
    return areas;
}

std::string localPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

}  // namespace

PlacementStorage::PlacementStorage(QWidget* window, QString iniPath)
    : QObject(window), window_(window), iniPath_(std::move(iniPath))
{
    reporter_ = [this](const QString& reason) {
        QMessageBox::warning(window_, QStringLiteral("Quillet"),
                             tr("The window placement could not be saved.\n%1").arg(reason));
    };
    // A quit that closes no window still keeps the placement.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] {
        if (!saved_) save(true);
    });
}

QString PlacementStorage::defaultIniPath()
{
    std::string program = localPath(QCoreApplication::applicationFilePath());
    return QFile::decodeName(QByteArray::fromStdString(placementIniPath(program)));
}

void PlacementStorage::setFailureReporter(std::function<void(const QString&)> reporter)
{
    reporter_ = std::move(reporter);
}

void PlacementStorage::restore()
{
    restored_ = true;
    saved_ = false;
    // The window opens centred unless a stored position is applied; words of a stored position
    // that are no numbers keep the centred ones.
    centreOnScreen();
    IniFile ini = loadIniFile(localPath(iniPath_));
    RestorePlan plan = planRestore(ini, screenSetupOf(window_), placementRectOf(window_->geometry()));
    if (plan.normal)
        window_->setGeometry(plan.normal->left, plan.normal->top, plan.normal->width(), plan.normal->height());
    fitOnItsScreen();
    window_->installEventFilter(this);

    if (plan.state == ShowState::Maximised) {
        window_->setWindowState((window_->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    } else if (plan.state == ShowState::Minimised) {
        window_->setWindowState(window_->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        minimiseWhenShown_ = true;
    }
}

// A stored placement from another scale or screen, or a design size larger than the screen, is
// moved and shrunk onto the screen.
void PlacementStorage::fitOnItsScreen()
{
    if (window_->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) return;
    QSize minimum = window_->minimumSizeHint().expandedTo(window_->minimumSize());
    PlacementRect now = placementRectOf(window_->geometry());
    FrameMargins frame = frameMarginsOf(window_);
    bool frameUnknown = frame.left == 0 && frame.top == 0 && frame.right == 0 && frame.bottom == 0;
    if (!sinceShown_.isValid() && frameUnknown) {
        // Before the first show a window that lies on its screen stays, as it stood last time.
        if (fitOnScreen(now, frame, workAreas(), minimum.width(), minimum.height()) == now) return;
        frame = UnknownFrame;
    }
    PlacementRect fitted = fitOnScreen(now, frame, workAreas(), minimum.width(), minimum.height());
    if (!(fitted == now)) window_->setGeometry(fitted.left, fitted.top, fitted.width(), fitted.height());
}

void PlacementStorage::centreOnScreen()
{
    QScreen* screen = screenOf(window_);
    if (screen == nullptr) return;
    QRect frame = window_->geometry();
    frame.moveCenter(screen->availableGeometry().center());
    window_->move(frame.topLeft());
}

bool PlacementStorage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != window_) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::Show && !sinceShown_.isValid()) sinceShown_.start();
    bool frameMayChange = sinceShown_.isValid() && sinceShown_.elapsed() < FitAfterShowMilliseconds;
    QEvent::Type type = event->type();
    if (frameMayChange && (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize))
        QTimer::singleShot(0, this, &PlacementStorage::fitOnItsScreen);
    if (type == QEvent::Show && minimiseWhenShown_) {
        minimiseWhenShown_ = false;
        // Posted, so the window is first shown normal and then minimised.
        QTimer::singleShot(0, window_, [window = window_] { window->showMinimized(); });
    }
    return QObject::eventFilter(watched, event);
}

std::optional<QString> PlacementStorage::save(bool destroying)
{
    if (!restored_) return std::nullopt;
    std::string path = localPath(iniPath_);
    IniFile ini = loadIniFile(path);
    writePlacement(ini, placementOf(window_), screenSetupOf(window_), destroying);
    saved_ = true;
    std::optional<std::string> error = saveIniFile(path, ini);
    if (!error) return std::nullopt;
    QString reason = QString::fromLocal8Bit(error->c_str());
    reportFailure(reason);
    return reason;
}

void PlacementStorage::reportFailure(const QString& reason)
{
    if (failureReported_) return;
    failureReported_ = true;
    if (reporter_) reporter_(reason);
}

}  // namespace quillet
