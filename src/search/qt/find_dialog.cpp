#include "search/qt/find_dialog.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace quillet {

TFormFind::TFormFind(CodePage codePage, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      codePage_(std::move(codePage))
{
    setObjectName(QStringLiteral("FormFind"));
    setWindowTitle(QStringLiteral("Find"));
    setFont(searchDialogFont());
    setFixedSize(294, 120);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(8, 8, 281, 21);
    Edit1->installEventFilter(this);
    RadioGroup1 = makeRadioGroup(this, QStringLiteral("Look for:"),
                                 {QStringLiteral("HEX data"), QStringLiteral("Text"), QStringLiteral("Text unicode")},
                                 8, 32, 161, 81);
    Button1 = buttonAt(this, QStringLiteral("Find"), "Button1", 176, 56);
    Button2 = buttonAt(this, QStringLiteral("Cancel"), "Button2", 176, 88);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    setTabChain({Edit1, RadioGroup1.Items[0], RadioGroup1.Items[1], RadioGroup1.Items[2], Button1, Button2});
}

bool TFormFind::run(FindFields& fields)
{
    load(fields);
    bool ok = runCentred(*this, Edit1);
    store(fields);
    return ok;
}

void TFormFind::load(const FindFields& fields)
{
    Edit1->setText(QString::fromStdString(codePage_.toUtf8(fields.Text)));
    RadioGroup1.check(static_cast<int>(fields.Mode));
}

void TFormFind::store(FindFields& fields) const
{
    fields.Text = codePage_.fromUtf8(Edit1->text().toStdString());
    fields.Mode = static_cast<PatternMode>(RadioGroup1.checkedIndex());
}

bool TFormFind::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        int key = static_cast<QKeyEvent*>(event)->key();
        if (isEnterKey(key)) {
            Button1->click();
            return true;
        }
        if (key == Qt::Key_Escape) {
            Button2->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Enter and Escape act only in the text; elsewhere in the dialog they do nothing.
void TFormFind::keyPressEvent(QKeyEvent* event)
{
    int key = event->key();
    if (isEnterKey(key) || key == Qt::Key_Escape) return;
    QDialog::keyPressEvent(event);
}

}  // namespace quillet
