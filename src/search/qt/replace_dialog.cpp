#include "search/qt/replace_dialog.h"

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

TFormReplace::TFormReplace(CodePage codePage, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      codePage_(std::move(codePage)),
      warningBox_([](QWidget* owner, const QString& caption, const QString& text) {
          QMessageBox::warning(owner, caption, text, QMessageBox::Ok);
      })
{
    setObjectName(QStringLiteral("FormReplace"));
    setWindowTitle(QStringLiteral("Replace"));
    setFont(searchDialogFont());
    setFixedSize(296, 207);
    createControls();
}

void TFormReplace::createControls()
{
    Label1 = labelAt(this, QStringLiteral("Look for:"), 10, 12);
    Label2 = labelAt(this, QStringLiteral("Replace with:"), 8, 36);
    Edit1 = editAt(this, "Edit1", 80, 8);
    Edit2 = editAt(this, "Edit2", 80, 32);
    RadioGroup1 = makeRadioGroup(this, QStringLiteral("Type:"),
                                 {QStringLiteral("HEX data"), QStringLiteral("Text"), QStringLiteral("Text unicode")},
                                 8, 56, 161, 81);
    Button1 = buttonAt(this, QStringLiteral("Replace"), "Button1", 176, 144);
    Button2 = buttonAt(this, QStringLiteral("Cancel"), "Button2", 176, 176);
    RadioGroup2 = makeRadioGroup(this, QStringLiteral("Start from:"),
                                 {QStringLiteral("Begin "), QStringLiteral("Current pos")}, 8, 144, 161, 57);
    Edit1->installEventFilter(this);
    Edit2->installEventFilter(this);
    connect(Button1, &QPushButton::clicked, this, &TFormReplace::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    setTabChain({Edit1, Edit2, RadioGroup1.Items[0], RadioGroup1.Items[1], RadioGroup1.Items[2], Button1, Button2,
                 RadioGroup2.Items[0], RadioGroup2.Items[1]});
}

bool TFormReplace::run(ReplaceFields& fields)
{
    load(fields);
    bool ok = runCentred(*this, Edit1);
    store(fields);
    return ok;
}

void TFormReplace::load(const ReplaceFields& fields)
{
    Edit1->setText(QString::fromStdString(codePage_.toUtf8(fields.LookFor)));
    Edit2->setText(QString::fromStdString(codePage_.toUtf8(fields.ReplaceWith)));
    RadioGroup1.check(static_cast<int>(fields.Mode));
    RadioGroup2.check(static_cast<int>(fields.StartFrom));
}

void TFormReplace::store(ReplaceFields& fields) const
{
    fields.LookFor = codePage_.fromUtf8(Edit1->text().toStdString());
    fields.ReplaceWith = codePage_.fromUtf8(Edit2->text().toStdString());
    fields.Mode = static_cast<PatternMode>(RadioGroup1.checkedIndex());
    fields.StartFrom = static_cast<ReplaceStart>(RadioGroup2.checkedIndex());
}

// The texts' characters in the code page are counted, whatever the mode: equal counts give
// patterns of equal length in every mode.
void TFormReplace::Button1Click()
{
    std::size_t lookFor = codePage_.fromUtf8(Edit1->text().toStdString()).size();
    std::size_t replaceWith = codePage_.fromUtf8(Edit2->text().toStdString()).size();
    if (lookFor == replaceWith) {
        accept();
        return;
    }
    warningBox_(this, QStringLiteral("Warning"),
                QStringLiteral("Length texts not equal, resize not support for this operation!"));
}

bool TFormReplace::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == Edit1 || watched == Edit2) && event->type() == QEvent::KeyPress) {
        int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            Button2->click();
            return true;
        }
        if (isEnterKey(key)) {
            if (watched == Edit2) Button1->click();
            return true;  // Enter in the look-for text does nothing
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Enter and Escape act only in the two texts; elsewhere in the dialog they do nothing.
void TFormReplace::keyPressEvent(QKeyEvent* event)
{
    if (isEnterKey(event->key()) || event->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(event);
}

}  // namespace quillet
