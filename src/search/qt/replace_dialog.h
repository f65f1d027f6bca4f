#pragma once
#include <QDialog>

#include <functional>

#include "model/codepage.h"
#include "search/qt/dialog_parts.h"
#include "search/search_fields.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quillet {

// The replace dialog: the text to look for, its replacement, the mode and where to start. It
// closes with OK only when both texts have the same number of characters, so that a
// replacement never changes a length.
class ReplaceDialog : public QDialog {
    Q_OBJECT
public:
    using WarningBox = std::function<void(QWidget* parent, const QString& caption, const QString& text)>;

    explicit ReplaceDialog(CodePage codePage, QWidget* parent = nullptr);

    // Shows the fields, lets the person edit them, writes them back (also on Cancel) and
    // returns true for OK.
    bool run(ReplaceFields& fields);
    // The modal warning box; a test puts a recorder in its place.
    void setWarningBox(WarningBox box) { warningBox_ = std::move(box); }

    // The "Replace" button: closes with OK when the texts are equally long, else warns.
    void confirmReplace();

    QLabel* lookForLabel = nullptr;
    QLabel* replaceWithLabel = nullptr;
    QLineEdit* lookForEdit = nullptr;
    QLineEdit* replaceWithEdit = nullptr;
    RadioGroup modeGroup;
    QPushButton* replaceButton = nullptr;
    QPushButton* cancelButton = nullptr;
    RadioGroup startGroup;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void layOut();
    void load(const ReplaceFields& fields);
    void store(ReplaceFields& fields) const;

    CodePage codePage_;
    WarningBox warningBox_;
};

}  // namespace quillet
