#pragma once
#include <QString>

#include <functional>

#include "app/prompts.h"
#include "model/codepage.h"

class QWidget;

namespace quillet {

// The person's side of the Editor's questions: message boxes, file dialogs, the clipboard, and
// the find, replace and about dialogs, which are made after the main window and handed in.
// Texts arrive in the code page and are shown through it.
class QtPrompts final : public Prompts {
public:
    using FindDialogRunner = std::function<bool(FindFields&)>;
    using ReplaceDialogRunner = std::function<bool(ReplaceFields&)>;
    using AboutBoxRunner = std::function<void()>;

    explicit QtPrompts(CodePage codePage);

    // The window that owns the message boxes and file dialogs.
    void setParentWidget(QWidget* parent) { parent_ = parent; }
    // Until a dialog is set, asking for it answers Cancel.
    void setFindDialog(FindDialogRunner dialog) { findDialog_ = std::move(dialog); }
    void setReplaceDialog(ReplaceDialogRunner dialog) { replaceDialog_ = std::move(dialog); }
    void setAboutBox(AboutBoxRunner box) { aboutBox_ = std::move(box); }

    bool askYesNo(MessageKind kind, const std::string& caption, const std::string& text) override;
    void showMessage(MessageKind kind, const std::string& caption, const std::string& text) override;
    std::optional<std::string> askOpenFileName(const std::string& startFolder) override;
    std::optional<std::string> askSaveFileName() override;
    void setClipboardText(const std::string& text) override;
    bool showFindDialog(FindFields& fields) override;
    bool showReplaceDialog(ReplaceFields& fields) override;
    void showAbout() override;

private:
    QString shown(const std::string& text) const;

    CodePage codePage_;
    QWidget* parent_ = nullptr;
    QString lastSaveName_;
    FindDialogRunner findDialog_;
    ReplaceDialogRunner replaceDialog_;
    AboutBoxRunner aboutBox_;
};

}  // namespace quillet
