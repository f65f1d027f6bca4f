#include "search/qt/dialog_parts.h"

#include <QApplication>
#include <QDialog>
#include <QFontDatabase>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace quillet {

QFont searchDialogFont()
{
    if (QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif")))
        return QFont(QStringLiteral("MS Sans Serif"), 8);
    return QApplication::font();
}

int RadioGroup::checkedIndex() const
{
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i]->isChecked()) return static_cast<int>(i);
    return 0;
}

void RadioGroup::check(int index)
{
    if (index >= 0 && index < static_cast<int>(items.size())) items[static_cast<std::size_t>(index)]->setChecked(true);
}

RadioGroup makeRadioGroup(QWidget* parent, const QString& caption, const QStringList& items, int x, int y,
                          int width, int height)
{
    RadioGroup group;
    group.box = new QGroupBox(caption, parent);
    group.box->setGeometry(x, y, width, height);
    // The items share the room below the caption in equal rows.
    const int top = 14;
    int rowHeight = (height - top - 4) / static_cast<int>(items.size());
    for (int i = 0; i < items.size(); ++i) {
        auto* item = new QRadioButton(items[i], group.box);
        item->setGeometry(8, top + i * rowHeight + (rowHeight - 17) / 2, width - 16, 17);
        group.items.push_back(item);
    }
    group.check(0);
    return group;
}

void centreOnScreen(QDialog& dialog)
{
    QScreen* screen = dialog.parentWidget() ? dialog.parentWidget()->screen() : QApplication::primaryScreen();
    if (!screen) return;
    QRect area = screen->availableGeometry();
    dialog.move(area.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
}

QPushButton* buttonAt(QWidget* parent, const QString& text, const char* name, int x, int y)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, y, 113, 25);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

void setTabChain(std::initializer_list<QWidget*> controls)
{
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous) QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

bool runCentred(QDialog& dialog, QWidget* first)
{
    centreOnScreen(dialog);
    first->setFocus();
    return dialog.exec() == QDialog::Accepted;
}

bool isEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace quillet
