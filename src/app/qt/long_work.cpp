#include "app/qt/long_work.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <atomic>
#include <exception>
#include <memory>

namespace quillet {

namespace {

constexpr int ShowAfterMilliseconds = 500;
constexpr int RefreshMilliseconds = 50;
constexpr int Steps = 1000;

class ThreadProgress final : public Progress {
public:
    bool report(std::uint64_t done, std::uint64_t total) override
    {
        done_ = done;
        total_ = total;
        return !cancelled_;
    }
    void cancel() { cancelled_ = true; }
    int steps() const
    {
        std::uint64_t total = total_;
        return total == 0 ? 0 : static_cast<int>(std::min<std::uint64_t>(Steps, done_ * Steps / total));
    }

private:
    std::atomic<std::uint64_t> done_{0};
    std::atomic<std::uint64_t> total_{0};
    std::atomic<bool> cancelled_{false};
};

// Holds back the person's input to every window but the progress box while the work runs.
// Qt hands a key or a click first to the window system's window (a QWindow, no widget), then to
// the widget under it, and a shortcut to its QShortcut object: each of them lets through what
// belongs to the box.
class InputHold final : public QObject {
public:
    explicit InputHold(QWidget* allowed) : allowed_(allowed) { qApp->installEventFilter(this); }
    ~InputHold() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::Close: return !belongsToBox(watched);
        default: return false;
        }
    }

private:
    bool belongsToBox(const QObject* watched) const
    {
        if (const auto* window = qobject_cast<const QWindow*>(watched))
            return allowed_->windowHandle() != nullptr && window == allowed_->windowHandle();
        for (const QObject* object = watched; object != nullptr; object = object->parent())
            if (object == allowed_) return true;
        return false;
    }

    QWidget* allowed_;
};

}  // namespace

void runWithProgressBox(QWidget* parent, const QString& title, const std::function<void(Progress&)>& work)
{
    ThreadProgress progress;
    std::exception_ptr failure;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
    }));

    QProgressDialog box(title, QCoreApplication::translate("LongWork", "Cancel"), 0, Steps, parent);
    box.setObjectName(QStringLiteral("progressBox"));
    box.setWindowTitle(QStringLiteral("Quillet"));
    box.setWindowModality(Qt::WindowModal);
    box.setAutoClose(false);
    box.setAutoReset(false);
    box.setMinimumDuration(24 * 3600 * 1000);  // shown by the timer below, not by its own guess
    InputHold hold(&box);
    // Cancel, Escape and closing the box by its frame all cancel.
    QObject::connect(&box, &QProgressDialog::canceled, &box, [&progress] { progress.cancel(); });
    QObject::connect(&box, &QDialog::rejected, &box, [&progress] { progress.cancel(); });

    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QTimer showTimer;
    showTimer.setSingleShot(true);
    QObject::connect(&showTimer, &QTimer::timeout, &box, [&box] { box.show(); });
    QTimer refresh;
    QObject::connect(&refresh, &QTimer::timeout, &box, [&] { box.setValue(progress.steps()); });
    thread->start();
    showTimer.start(ShowAfterMilliseconds);
    refresh.start(RefreshMilliseconds);
    if (!thread->isFinished()) loop.exec();
    thread->wait();
    refresh.stop();
    box.hide();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace quillet
