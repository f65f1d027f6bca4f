#pragma once
#include <QDialog>

#include <functional>

#include "model/codepage.h"
#include "search/qt/dialog_parts.h"
#include "search/search_fields.h"

class QLineEdit;
class QPushButton;

namespace quillet {

// The find dialog: the search text and its mode. Enter anywhere in it closes it with OK, Escape
// with Cancel; neither button is a default button.
class FindDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(CodePage codePage, QWidget* parent = nullptr);

    // Shows the fields, lets the person edit them, writes them back (also on Cancel) and
    // returns true for OK.
    bool run(FindFields& fields);
    // The "Find" button: closes with OK unless the text cannot be looked for in its mode.
    void confirmFind();
    using WarningBox = std::function<void(QWidget* parent, const QString& caption, const QString& text)>;
    // The modal warning box; a test puts a recorder in its place.
    void setWarningBox(WarningBox box) { warningBox_ = std::move(box); }

    QLineEdit* textEdit = nullptr;
    RadioGroup modeGroup;
    QPushButton* findButton = nullptr;
    QPushButton* cancelButton = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void load(const FindFields& fields);
    void store(FindFields& fields) const;

    CodePage codePage_;
    WarningBox warningBox_;
};

}  // namespace quillet
