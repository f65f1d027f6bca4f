#include "search/qt/replace_dialog.h"

#include "search/pattern.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

namespace quillet {

namespace {
QLabel* labelAt(QWidget* parent, const QString& text, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLineEdit* editAt(QWidget* parent, const char* name, int x, int y)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(x, y, 209, 21);
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
    setWindowTitle(QStringLiteral("Replace"));
    setFont(searchDialogFont());
    setFixedSize(296, 207);
    createControls();
}

void ReplaceDialog::createControls()
{
    lookForLabel = labelAt(this, QStringLiteral("Look for:"), 10, 12);
    replaceWithLabel = labelAt(this, QStringLiteral("Replace with:"), 8, 36);
    lookForEdit = editAt(this, "lookForEdit", 80, 8);
    replaceWithEdit = editAt(this, "replaceWithEdit", 80, 32);
    modeGroup = makeRadioGroup(this, QStringLiteral("Type:"),
                                 {QStringLiteral("HEX data"), QStringLiteral("Text"), QStringLiteral("Text unicode")},
                                 8, 56, 161, 81);
    replaceButton = buttonAt(this, QStringLiteral("Replace"), "replaceButton", 176, 144);
    cancelButton = buttonAt(this, QStringLiteral("Cancel"), "cancelButton", 176, 176);
    startGroup = makeRadioGroup(this, QStringLiteral("Start from:"),
                                 {QStringLiteral("Begin "), QStringLiteral("Current pos")}, 8, 144, 161, 57);
    lookForEdit->installEventFilter(this);
    replaceWithEdit->installEventFilter(this);
    connect(replaceButton, &QPushButton::clicked, this, &ReplaceDialog::confirmReplace);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    setTabChain({lookForEdit, replaceWithEdit, modeGroup.items[0], modeGroup.items[1], modeGroup.items[2], replaceButton, cancelButton,
                 startGroup.items[0], startGroup.items[1]});
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
    std::string error;
    if (!patternBytes(lookFor, mode, codePage_, &error) || !patternBytes(replaceWith, mode, codePage_, &error)) {
        warningBox_(this, QStringLiteral("Warning"), QString::fromStdString(error));
        return;
    }
    if (patternCharacterCount(lookFor, mode, codePage_) == patternCharacterCount(replaceWith, mode, codePage_)) {
        accept();
        return;
    }
    warningBox_(this, QStringLiteral("Warning"),
                QStringLiteral("Length texts not equal, resize not support for this operation!"));
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
            if (watched == replaceWithEdit) replaceButton->click();
            return true;  // Enter in the look-for text does nothing
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Enter and Escape act only in the two texts; elsewhere in the dialog they do nothing.
void ReplaceDialog::keyPressEvent(QKeyEvent* event)
{
    if (isEnterKey(event->key()) || event->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(event);
}

}  // namespace quillet
