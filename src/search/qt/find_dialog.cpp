#include "search/qt/find_dialog.h"

#include "search/pattern.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

namespace quillet {

FindDialog::FindDialog(CodePage codePage, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      codePage_(std::move(codePage)),
      warningBox_([](QWidget* owner, const QString& caption, const QString& text) {
          QMessageBox::warning(owner, caption, text, QMessageBox::Ok);
      })
{
    setObjectName(QStringLiteral("findDialog"));
    setWindowTitle(QStringLiteral("Find"));
    setFont(searchDialogFont());
    setFixedSize(294, 120);

    textEdit = new QLineEdit(this);
    textEdit->setObjectName(QStringLiteral("textEdit"));
    textEdit->setGeometry(8, 8, 281, 21);
    textEdit->installEventFilter(this);
    modeGroup = makeRadioGroup(this, QStringLiteral("Look for:"),
                                 {QStringLiteral("HEX data"), QStringLiteral("Text"), QStringLiteral("Text unicode")},
                                 8, 32, 161, 81);
    findButton = buttonAt(this, QStringLiteral("Find"), "findButton", 176, 56);
    cancelButton = buttonAt(this, QStringLiteral("Cancel"), "cancelButton", 176, 88);
    connect(findButton, &QPushButton::clicked, this, &FindDialog::confirmFind);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    setTabChain({textEdit, modeGroup.items[0], modeGroup.items[1], modeGroup.items[2], findButton, cancelButton});
}

// A text that the "Text" mode cannot look for is refused here, with the dialog kept open.
void FindDialog::confirmFind()
{
    std::string error;
    auto mode = static_cast<PatternMode>(modeGroup.checkedIndex());
    if (patternBytes(textEdit->text().toStdU16String(), mode, codePage_, &error)) {
        accept();
        return;
    }
    warningBox_(this, QStringLiteral("Warning"), QString::fromStdString(error));
}

bool FindDialog::run(FindFields& fields)
{
    load(fields);
    bool ok = runCentred(*this, textEdit);
    store(fields);
    return ok;
}

void FindDialog::load(const FindFields& fields)
{
    textEdit->setText(QString::fromStdU16String(fields.text));
    modeGroup.check(static_cast<int>(fields.mode));
}

void FindDialog::store(FindFields& fields) const
{
    fields.text = textEdit->text().toStdU16String();
    fields.mode = static_cast<PatternMode>(modeGroup.checkedIndex());
}

bool FindDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == textEdit && event->type() == QEvent::KeyPress) {
        int key = static_cast<QKeyEvent*>(event)->key();
        if (isEnterKey(key)) {
            findButton->click();
            return true;
        }
        if (key == Qt::Key_Escape) {
            cancelButton->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Enter and Escape act only in the text; elsewhere in the dialog they do nothing.
void FindDialog::keyPressEvent(QKeyEvent* event)
{
    int key = event->key();
    if (isEnterKey(key) || key == Qt::Key_Escape) return;
    QDialog::keyPressEvent(event);
}

}  // namespace quillet
