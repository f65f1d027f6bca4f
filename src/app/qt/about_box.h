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
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

    // Centres the box on the screen, not over the main window, before every show.
    void setVisible(bool visible) override;

    // The web site that linkLabel shows and opens.
    static QUrl webAddress();
    // Replaces the desktop's handler that opens the web site (tests record the call instead).
    void setUrlOpener(std::function<void(const QUrl&)> opener);

    QFrame* frame;
    QLabel* iconLabel;
    QLabel* productNameLabel;
    QLabel* versionLabel;
    QLabel* copyrightLabel;
    QLabel* commentsLabel;
    QLabel* linkLabel;
    QPushButton* okButton;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void layOut();
    void completeVersion();
    void setLinkUnderlined(bool underlined);
    void openWebSite();

    std::function<void(const QUrl&)> urlOpener_;
};

}  // namespace quillet
