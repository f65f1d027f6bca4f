#pragma once
#include <functional>

#include <QDialog>
#include <QUrl>

class QFrame;
class QLabel;
class QPushButton;

namespace quillet {

// The about box: product name, version with the program file's date, copyright, and a link
// to the product's web site. Created once at start and shown modally by "About".
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    // The web site that Label1 shows and opens.
    static QUrl webAddress();
    // Replaces the desktop's handler that opens the web site (tests record the call instead).
    void setUrlOpener(std::function<void(const QUrl&)> opener);

    QFrame* Panel1;
    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Copyright;
    QLabel* Comments;
    QLabel* Label1;
    QPushButton* OKButton;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void completeVersion();
    void setLinkUnderlined(bool underlined);
    void Label1Click();

    std::function<void(const QUrl&)> urlOpener_;
};

}  // namespace quillet
