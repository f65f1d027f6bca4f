#include "search/qt/find_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "search/pattern.h"

namespace quillet {

FindDialog::FindDialog(CodePage codePage, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      codePage_(std::move(codePage)),
      warningBox_([](QWidget* owner, const QString& caption, const QString& text) {
          QMessageBox::warning(owner, caption, text, QMessageBox::Ok);
      })
{
    setObjectName(QStringLiteral("findDialog"));
    setWindowTitle(tr("Find"));
    setFont(searchDialogFont());

    textEdit = new QLineEdit(this);
    textEdit->setObjectName(QStringLiteral("textEdit"));
    textEdit->setMinimumSize(281, 21);
    textEdit->installEventFilter(this);
    modeGroup = makeRadioGroup(this, tr("Look for:"), {tr("&HEX data"), tr("&Text"), tr("Text &unicode")},
                               QSize(161, 81));
    findButton = makeButton(this, tr("&Find"), "findButton");
    cancelButton = makeButton(this, tr("Cancel"), "cancelButton");
    connect(findButton, &QPushButton::clicked, this, &FindDialog::confirmFind);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    // The text across the top; the mode group with the buttons at its foot beside it. The
    // design's sizes (294 x 120 in all) are minimums: the dialog grows to what the fonts need.
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(8, 8, 5, 7);
    layout->setSpacing(3);
    layout->addWidget(textEdit);
    auto* lower = new QHBoxLayout;
    lower->setSpacing(7);
    lower->addWidget(modeGroup.box);
    lower->addLayout(buttonColumn(findButton, cancelButton));
    layout->addLayout(lower);

    setTabChain({textEdit, modeGroup.items[0], modeGroup.items[1], modeGroup.items[2], findButton, cancelButton});
}

// A text that the "Text" mode cannot look for is refused here, with the dialog kept open.
void FindDialog::confirmFind()
{
    auto mode = static_cast<PatternMode>(modeGroup.checkedIndex());
    Result<Bytes> pattern = patternBytes(textEdit->text().toStdU16String(), mode, codePage_);
    if (pattern) {
        accept();
        return;
    }
    warningBox_(this, tr("Warning"), QString::fromStdString(pattern.failure().reason));
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

void FindDialog::keyPressEvent(QKeyEvent* event)
{
    if (!runOrCancelByKey(*this, *event, findButton, cancelButton)) QDialog::keyPressEvent(event);
}

}  // namespace quillet
