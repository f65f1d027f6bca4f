#pragma once
#include <functional>
#include <optional>

#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QWidget;

namespace quillet {

// Keeps the main window's position, size and normal/minimised/maximised state in the placement
// file (section "TFormMain") between runs: read when the window is first shown, written when it
// closes. The rectangle is the window's geometry as Qt gives it, without the frame.
//
// Wiring in MainWindow (the object is a child of the window):
//     placement_ = new quillet::PlacementStorage(this);                   // in the constructor
//     placement_->restore();                                           // just before the first show()
//     if (event->isAccepted()) placement_->save();                     // at the end of closeEvent()
// restore() centres the window on its screen unless a stored position applies, so the window
// need not centre itself. Either way the window lies wholly on its screen, frame included: the
// frame's size is known only once the window is shown, so the window is fitted again then.
class PlacementStorage : public QObject {
    Q_OBJECT
public:
    explicit PlacementStorage(QWidget* window, QString iniPath = defaultIniPath());

    // quillet.INI (after the program file's name) in the user's config folder.
    static QString defaultIniPath();
    QString iniPath() const { return iniPath_; }

    // Applies the stored placement to the window, which is not shown yet; a missing, unreadable
    // or malformed file leaves the window at its size, centred on its screen. A stored
    // minimised state minimises the window right after it has been shown normal.
    void restore();
    // Writes the placement (skipped when restore() never ran). `destroying` is true when the
    // save happens while the window goes away rather than on its close request. A failure is
    // returned every time and reported to the person only the first time.
    std::optional<QString> save(bool destroying = false);

    // Tests record the report instead of showing a message box.
    void setFailureReporter(std::function<void(const QString&)> reporter);
    bool restored() const { return restored_; }
    bool saved() const { return saved_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void centreOnScreen();
    void fitOnItsScreen();
    void reportFailure(const QString& reason);

    QWidget* window_;
    QString iniPath_;
    std::function<void(const QString&)> reporter_;
    bool restored_ = false;
    bool saved_ = false;
    bool failureReported_ = false;
    bool minimiseWhenShown_ = false;
    QElapsedTimer sinceShown_;
};

}  // namespace quillet
