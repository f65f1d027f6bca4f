#include "app/qt/qt_prompts.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "app/qt/long_work.h"

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

QString shown(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

// File names are handed to the Editor as the file system spells them, and shown decoded.
std::string fileName(const QString& name)
{
    return QFile::encodeName(name).toStdString();
}

QString shownFileName(const std::string& name)
{
    return QFile::decodeName(QByteArray::fromStdString(name));
}

std::optional<std::string> chosenFile(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return fileName(dialog.selectedFiles().constFirst());
}

}  // namespace

bool QtPrompts::askYesNo(MessageKind kind, const std::string& caption, const std::string& text)
{
    QMessageBox box(boxIcon(kind), shown(caption), shown(text), QMessageBox::Yes | QMessageBox::No, parent_);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

// The buttons carry access keys (Alt+S, Alt+D), which the platform's own texts may lack.
SaveChoice QtPrompts::askSaveChanges(const std::string& text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Quillet"), shown(text),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent_);
    box.setObjectName(QStringLiteral("saveChangesBox"));
    box.button(QMessageBox::Save)->setText(QCoreApplication::translate("QtPrompts", "&Save"));
    box.button(QMessageBox::Discard)->setText(QCoreApplication::translate("QtPrompts", "&Discard"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save: return SaveChoice::Save;
    case QMessageBox::Discard: return SaveChoice::Discard;
    default: return SaveChoice::Cancel;
    }
}

bool QtPrompts::askReloadChangedFile(const std::string& text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("File changed on disk"), shown(text), QMessageBox::NoButton,
                    parent_);
    box.setObjectName(QStringLiteral("fileChangedBox"));
    QPushButton* reload = box.addButton(QStringLiteral("Reload"), QMessageBox::AcceptRole);
    QPushButton* keep = box.addButton(QStringLiteral("Keep editing"), QMessageBox::RejectRole);
    // Enter and Escape both keep what the person has: reloading is chosen on purpose.
    box.setDefaultButton(keep);
    box.setEscapeButton(keep);
    box.exec();
    return box.clickedButton() == reload;
}

TypingChoice QtPrompts::askApplyTyping(const std::string& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Quillet"), shown(text),
                    QMessageBox::Apply | QMessageBox::Discard | QMessageBox::Cancel, parent_);
    box.setObjectName(QStringLiteral("applyTypingBox"));
    box.button(QMessageBox::Apply)->setText(QCoreApplication::translate("QtPrompts", "&Apply"));
    box.button(QMessageBox::Discard)->setText(QCoreApplication::translate("QtPrompts", "&Discard"));
    box.setDefaultButton(QMessageBox::Apply);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Apply: return TypingChoice::Apply;
    case QMessageBox::Discard: return TypingChoice::Discard;
    default: return TypingChoice::Cancel;
    }
}

void QtPrompts::showMessage(MessageKind kind, const std::string& caption, const std::string& text)
{
    QMessageBox box(boxIcon(kind), shown(caption), shown(text), QMessageBox::Ok, parent_);
    box.exec();
}

std::optional<std::string> QtPrompts::askOpenFileName(const std::string& startFolder)
{
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!startFolder.empty()) dialog.setDirectory(shownFileName(startFolder));
    return chosenFile(dialog);
}

std::optional<std::string> QtPrompts::askSaveFileName(const std::string& suggestedName)
{
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QCoreApplication::translate("QtPrompts", "Resource files (*.rsc);;All files (*)"));
    dialog.setDefaultSuffix(QStringLiteral("rsc"));
    // The editor asks before a file is replaced, naming it.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!suggestedName.empty()) dialog.selectFile(shownFileName(suggestedName));
    return chosenFile(dialog);
}

std::optional<ChosenFile> QtPrompts::askTextsFileName(TextsFileUse use, const std::string& suggestedName,
                                                      const std::vector<FileKind>& kinds)
{
    QFileDialog dialog(parent_);
    bool exporting = use == TextsFileUse::Export;
    dialog.setWindowTitle(exporting ? QCoreApplication::translate("QtPrompts", "Export texts")
                                    : QCoreApplication::translate("QtPrompts", "Import texts"));
    dialog.setAcceptMode(exporting ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(exporting ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QStringList filters;
    for (const FileKind& kind : kinds) {
        QStringList patterns;
        for (const std::string& extension : kind.extensions) patterns << QStringLiteral("*") + shown(extension);
        filters << shown(kind.description) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    dialog.setNameFilters(filters << QCoreApplication::translate("QtPrompts", "All files (*)"));
    if (exporting) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!suggestedName.empty()) dialog.selectFile(shownFileName(suggestedName));
    std::optional<std::string> name = chosenFile(dialog);
    if (!name) return std::nullopt;
    qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    std::optional<std::size_t> kind;
    if (chosen >= 0 && static_cast<std::size_t>(chosen) < kinds.size()) kind = static_cast<std::size_t>(chosen);
    return ChosenFile{*name, kind};
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

void QtPrompts::runLongWork(const std::string& title, const std::function<void(Progress&)>& work)
{
    runWithProgressBox(parent_, shown(title), work);
}

}  // namespace quillet
