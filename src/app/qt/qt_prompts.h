#pragma once
#include <QString>

#include <functional>

#include "app/prompts.h"

class QWidget;

namespace quillet {

// The person's side of the Editor's questions: message boxes, file dialogs, the clipboard, the
// find, replace and about dialogs (made after the main window and handed in), and a progress
// box for long work.
class QtPrompts final : public Prompts {
public:
    using FindDialogRunner = std::function<bool(FindFields&)>;
    using ReplaceDialogRunner = std::function<bool(ReplaceFields&)>;
    using AboutBoxRunner = std::function<void()>;

    // The window that owns the message boxes and file dialogs.
    void setParentWidget(QWidget* parent) { parent_ = parent; }
    // Until a dialog is set, asking for it answers Cancel.
    void setFindDialog(FindDialogRunner dialog) { findDialog_ = std::move(dialog); }
    void setReplaceDialog(ReplaceDialogRunner dialog) { replaceDialog_ = std::move(dialog); }
    void setAboutBox(AboutBoxRunner box) { aboutBox_ = std::move(box); }

    bool askYesNo(MessageKind kind, const std::string& caption, const std::string& text) override;
    SaveChoice askSaveChanges(const std::string& text) override;
    bool askReloadChangedFile(const std::string& text) override;
    TypingChoice askApplyTyping(const std::string& text) override;
    void showMessage(MessageKind kind, const std::string& caption, const std::string& text) override;
    std::optional<std::string> askOpenFileName(const std::string& startFolder) override;
    std::optional<std::string> askSaveFileName(const std::string& suggestedName) override;
    std::optional<ChosenFile> askTextsFileName(TextsFileUse use, const std::string& suggestedName,
                                               const std::vector<FileKind>& kinds) override;
    void setClipboardText(const std::string& text) override;
    bool showFindDialog(FindFields& fields) override;
    bool showReplaceDialog(ReplaceFields& fields) override;
    void showAbout() override;
    void runLongWork(const std::string& title, const std::function<void(Progress&)>& work) override;

private:
    QWidget* parent_ = nullptr;
    FindDialogRunner findDialog_;
    ReplaceDialogRunner replaceDialog_;
    AboutBoxRunner aboutBox_;
};

}  // namespace quillet
