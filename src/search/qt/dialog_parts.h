#pragma once
#include <QFont>
#include <QSize>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <vector>

class QDialog;
class QKeyEvent;
class QPushButton;
class QGroupBox;
class QRadioButton;
class QVBoxLayout;
class QWidget;

namespace quillet {

// "MS Sans Serif" 8 pt where the system has it, else the application's font.
QFont searchDialogFont();

// A captioned group of radio buttons, one per item, spread down the group in equal rows like
// a radio group. The group is at least `minimumSize`, larger when its texts need it.
struct RadioGroup {
    QGroupBox* box = nullptr;
    std::vector<QRadioButton*> items;
    int checkedIndex() const;
    void check(int index);
};
RadioGroup makeRadioGroup(QWidget* parent, const QString& caption, const QStringList& items, QSize minimumSize);

// Shows a dialog centred on the screen it will appear on: its client area, laid out, so that it
// lands in the same place at every show whatever frame the window manager adds.
void centreOnScreen(QDialog& dialog);

// A push button at least 113 x 25 that never takes Enter as the dialog's default: the dialog
// handles it (runOrCancelByKey).
QPushButton* makeButton(QWidget* parent, const QString& text, const char* name);
// Two buttons stacked at the bottom of their column.
QVBoxLayout* buttonColumn(QPushButton* upper, QPushButton* lower);
// The tab order, control after control.
void setTabChain(std::initializer_list<QWidget*> controls);
// Shows the dialog modally, centred, with the focus in `first`; true when it closed with OK.
bool runCentred(QDialog& dialog, QWidget* first);
bool isEnterKey(int key);
// Enter anywhere in a search dialog runs it (on the cancel button it cancels); Escape cancels.
// True when the key was one of them.
bool runOrCancelByKey(const QDialog& dialog, const QKeyEvent& key, QPushButton* run, QPushButton* cancel);

}  // namespace quillet
