#include "search/qt/dialog_parts.h"

#include <QApplication>
#include <QDialog>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace quillet {

QFont searchDialogFont()
{
    if (QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif"))) return QFont(QStringLiteral("MS Sans Serif"), 8);
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

RadioGroup makeRadioGroup(QWidget* parent, const QString& caption, const QStringList& items, QSize minimumSize)
{
    RadioGroup group;
    group.box = new QGroupBox(caption, parent);
    group.box->setMinimumSize(minimumSize);
    auto* layout = new QVBoxLayout(group.box);
    layout->setContentsMargins(8, 0, 8, 2);
    layout->setSpacing(0);
    for (const QString& text : items) {
        auto* item = new QRadioButton(text, group.box);
        // Rows of equal height share the group's room; each item sits in the middle of its row.
        item->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        layout->addWidget(item);
        group.items.push_back(item);
    }
    group.check(0);
    return group;
}

void centreOnScreen(QDialog& dialog)
{
    QScreen* screen = dialog.parentWidget() ? dialog.parentWidget()->screen() : QApplication::primaryScreen();
    if (!screen) return;
    dialog.ensurePolished();
    if (dialog.layout()) dialog.layout()->activate();
    // setGeometry places the client area; move() would place the frame, which is unknown
    // before the first show.
    dialog.setGeometry(
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, dialog.size(), screen->availableGeometry()));
}

QPushButton* makeButton(QWidget* parent, const QString& text, const char* name)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setMinimumSize(113, 25);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QVBoxLayout* buttonColumn(QPushButton* upper, QPushButton* lower)
{
    auto* column = new QVBoxLayout;
    column->setSpacing(7);
    column->addStretch(1);
    column->addWidget(upper);
    column->addWidget(lower);
    return column;
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

bool runOrCancelByKey(const QDialog& dialog, const QKeyEvent& key, QPushButton* run, QPushButton* cancel)
{
    if (key.key() == Qt::Key_Escape) {
        cancel->click();
        return true;
    }
    if (!isEnterKey(key.key())) return false;
    (dialog.focusWidget() == cancel ? cancel : run)->click();
    return true;
}

}  // namespace quillet
