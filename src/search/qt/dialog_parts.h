#pragma once
#include <QFont>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <vector>

class QDialog;
class QPushButton;
class QGroupBox;
class QRadioButton;
class QWidget;

namespace quillet {

// "MS Sans Serif" 8 pt where the system has it, else the application's font.
QFont searchDialogFont();

// A captioned group of radio buttons, one per item, spread down the group like a radio group.
struct RadioGroup {
    QGroupBox* box = nullptr;
    std::vector<QRadioButton*> items;
    int checkedIndex() const;
    void check(int index);
};
RadioGroup makeRadioGroup(QWidget* parent, const QString& caption, const QStringList& items, int x, int y,
                          int width, int height);

// Shows a dialog centred on the screen it will appear on.
void centreOnScreen(QDialog& dialog);

// A 113 x 25 push button that never takes Enter as the dialog's default: the edits handle it.
QPushButton* buttonAt(QWidget* parent, const QString& text, const char* name, int x, int y);
// The tab order, control after control.
void setTabChain(std::initializer_list<QWidget*> controls);
// Shows the dialog modally, centred, with the focus in `first`; true when it closed with OK.
bool runCentred(QDialog& dialog, QWidget* first);
bool isEnterKey(int key);

}  // namespace quillet
