#pragma once
#include <QFont>
#include <QString>
#include <QStringList>

#include <vector>

class QDialog;
class QGroupBox;
class QRadioButton;
class QWidget;

namespace quillet {

// "MS Sans Serif" 8 pt where the system has it, else the application's font.
QFont searchDialogFont();

// A captioned group of radio buttons, one per item, spread down the group like a radio group.
struct RadioGroup {
    QGroupBox* Box = nullptr;
    std::vector<QRadioButton*> Items;
    int checkedIndex() const;
    void check(int index);
};
RadioGroup makeRadioGroup(QWidget* parent, const QString& caption, const QStringList& items, int x, int y,
                          int width, int height);

// Shows a dialog centred on the screen it will appear on.
void centreOnScreen(QDialog& dialog);

}  // namespace quillet
