#include "search/qt/replace_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "search/pattern.h"

namespace quillet {

namespace {
QLineEdit* makeEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMinimumSize(209, 21);
    return edit;
}

}  // namespace

ReplaceDialog::ReplaceDialog(CodePage codePage, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      codePage_(std::move(codePage)),
      warningBox_([](QWidget* owner, const QString& caption, const QString& text) {
          QMessageBox::warning(owner, caption, text, QMessageBox::Ok);
      })
{
    setObjectName(QStringLiteral("replaceDialog"));
    setWindowTitle(tr("Replace"));
    setFont(searchDialogFont());
    createControls();
    layOut();
}

void ReplaceDialog::createControls()
{
    lookForLabel = new QLabel(tr("&Look for:"), this);
    replaceWithLabel = new QLabel(tr("Replace &with:"), this);
    lookForEdit = makeEdit(this, "lookForEdit");
    replaceWithEdit = makeEdit(this, "replaceWithEdit");
    lookForLabel->setBuddy(lookForEdit);
    replaceWithLabel->setBuddy(replaceWithEdit);
    modeGroup = makeRadioGroup(this, tr("Type:"), {tr("&HEX data"), tr("&Text"), tr("Text &unicode")}, QSize(161, 81));
    replaceButton = makeButton(this, tr("&Replace"), "replaceButton");
    cancelButton = makeButton(this, tr("Cancel"), "cancelButton");
    startGroup = makeRadioGroup(this, tr("Start from:"), {tr("&Begin "), tr("&Current pos")}, QSize(161, 57));
    lookForEdit->installEventFilter(this);
    replaceWithEdit->installEventFilter(this);
    connect(replaceButton, &QPushButton::clicked, this, &ReplaceDialog::confirmReplace);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    setTabChain({lookForEdit, replaceWithEdit, modeGroup.items[0], modeGroup.items[1], modeGroup.items[2],
                 replaceButton, cancelButton, startGroup.items[0], startGroup.items[1]});
}

// The labelled texts across the top; below them the mode group, then the start group with the
// buttons at its foot beside it. The design's sizes (296 x 207 in all, labels 72 pixels wide)
// are minimums: the dialog grows to what the fonts need.
void ReplaceDialog::layOut()
{
    auto* texts = new QGridLayout;
    texts->setHorizontalSpacing(4);
    texts->setVerticalSpacing(3);
    texts->setColumnMinimumWidth(0, 68);
    texts->addWidget(lookForLabel, 0, 0);
    texts->addWidget(lookForEdit, 0, 1);
    texts->addWidget(replaceWithLabel, 1, 0);
    texts->addWidget(replaceWithEdit, 1, 1);

    auto* lower = new QGridLayout;
    lower->setSpacing(7);
    lower->addWidget(modeGroup.box, 0, 0);
    lower->addWidget(startGroup.box, 1, 0);
    lower->addLayout(buttonColumn(replaceButton, cancelButton), 1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(8, 8, 7, 6);
    layout->setSpacing(3);
    layout->addLayout(texts);
    layout->addLayout(lower);
}

bool ReplaceDialog::run(ReplaceFields& fields)
{
    load(fields);
    bool ok = runCentred(*this, lookForEdit);
    store(fields);
    return ok;
}

void ReplaceDialog::load(const ReplaceFields& fields)
{
    lookForEdit->setText(QString::fromStdU16String(fields.lookFor));
    replaceWithEdit->setText(QString::fromStdU16String(fields.replaceWith));
    modeGroup.check(static_cast<int>(fields.mode));
    startGroup.check(static_cast<int>(fields.startFrom));
}

void ReplaceDialog::store(ReplaceFields& fields) const
{
    fields.lookFor = lookForEdit->text().toStdU16String();
    fields.replaceWith = replaceWithEdit->text().toStdU16String();
    fields.mode = static_cast<PatternMode>(modeGroup.checkedIndex());
    fields.startFrom = static_cast<ReplaceStart>(startGroup.checkedIndex());
}

// Both texts must be ones the mode can look for and write; then their characters are counted,
// whatever the mode, and only equal counts close the dialog: they give patterns of equal length.
void ReplaceDialog::confirmReplace()
{
    auto mode = static_cast<PatternMode>(modeGroup.checkedIndex());
    std::u16string lookFor = lookForEdit->text().toStdU16String();
    std::u16string replaceWith = replaceWithEdit->text().toStdU16String();
    for (const std::u16string& text : {lookFor, replaceWith}) {
        Result<Bytes> pattern = patternBytes(text, mode, codePage_);
        if (!pattern) {
            warningBox_(this, tr("Warning"), QString::fromStdString(pattern.failure().reason));
            return;
        }
    }
    if (patternCharacterCount(lookFor, mode, codePage_) == patternCharacterCount(replaceWith, mode, codePage_)) {
        accept();
        return;
    }
    warningBox_(this, tr("Warning"), tr("Length texts not equal, resize not support for this operation!"));
}

bool ReplaceDialog::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == lookForEdit || watched == replaceWithEdit) && event->type() == QEvent::KeyPress) {
        int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            cancelButton->click();
            return true;
        }
        if (isEnterKey(key)) {
            replaceButton->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ReplaceDialog::keyPressEvent(QKeyEvent* event)
{
    if (!runOrCancelByKey(*this, *event, replaceButton, cancelButton)) QDialog::keyPressEvent(event);
}

}  // namespace quillet
