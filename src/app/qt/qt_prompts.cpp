#include "app/qt/qt_prompts.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>

#include "views/qt/ansi_text.h"

namespace quillet {

namespace {

QMessageBox::Icon boxIcon(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning: return QMessageBox::Warning;
    case MessageKind::Confirmation: return QMessageBox::Question;
    case MessageKind::Information: return QMessageBox::Information;
    case MessageKind::Error: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

// File names are handed to the Editor as the file system spells them.
std::string fileName(const QString& name)
{
    return QFile::encodeName(name).toStdString();
}

}  // namespace

QtPrompts::QtPrompts(CodePage codePage) : codePage_(std::move(codePage)) {}

QString QtPrompts::shown(const std::string& text) const
{
    return toDisplay(codePage_, text);
}

bool QtPrompts::askYesNo(MessageKind kind, const std::string& caption, const std::string& text)
{
    QMessageBox box(boxIcon(kind), shown(caption), shown(text), QMessageBox::Yes | QMessageBox::No,
                    parent_);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtPrompts::showMessage(MessageKind kind, const std::string& caption, const std::string& text)
{
    QMessageBox box(boxIcon(kind), shown(caption), shown(text), QMessageBox::Ok, parent_);
    box.exec();
}

std::optional<std::string> QtPrompts::askOpenFileName(const std::string& startFolder)
{
    QString name = QFileDialog::getOpenFileName(parent_, QString(), QFile::decodeName(startFolder.c_str()));
    if (name.isEmpty()) return std::nullopt;
    return fileName(name);
}

std::optional<std::string> QtPrompts::askSaveFileName()
{
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("Resource files (*.rsc);;All files (*)"));
    dialog.setDefaultSuffix(QStringLiteral("rsc"));
    // Saving writes over an existing file without asking.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!lastSaveName_.isEmpty()) dialog.selectFile(lastSaveName_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    lastSaveName_ = dialog.selectedFiles().constFirst();
    return fileName(lastSaveName_);
}

void QtPrompts::setClipboardText(const std::string& text)
{
    QApplication::clipboard()->setText(shown(text));
}

bool QtPrompts::showFindDialog(FindFields& fields)
{
    return findDialog_ ? findDialog_(fields) : false;
}

bool QtPrompts::showReplaceDialog(ReplaceFields& fields)
{
    return replaceDialog_ ? replaceDialog_(fields) : false;
}

void QtPrompts::showAbout()
{
    if (aboutBox_) aboutBox_();
}

}  // namespace quillet
