#pragma once
#include <optional>
#include <string>

#include "search/search_fields.h"

namespace quillet {

enum class MessageKind { Warning, Confirmation, Information, Error };

// Everything the editor asks of or tells the person. Texts are in the code page. The window
// implements it with real message boxes, file dialogs and the clipboard; tests with a script.
class Prompts {
public:
    virtual ~Prompts() = default;
    // A question with the buttons Yes and No; Yes is the default and Escape answers No.
    virtual bool askYesNo(MessageKind kind, const std::string& caption, const std::string& text) = 0;
    // A message box with one OK button.
    virtual void showMessage(MessageKind kind, const std::string& caption, const std::string& text) = 0;
    // The file dialog starts in `startFolder`; where it would by itself when that is empty.
    virtual std::optional<std::string> askOpenFileName(const std::string& startFolder) = 0;
    // Offers the name chosen at the previous use; ".rsc" is the default extension.
    virtual std::optional<std::string> askSaveFileName() = 0;
    virtual void setClipboardText(const std::string& text) = 0;
    // The modal find and replace dialogs: they show the fields, let the person edit them, write
    // them back (also on Cancel) and return true only for OK.
    virtual bool showFindDialog(FindFields& fields) = 0;
    virtual bool showReplaceDialog(ReplaceFields& fields) = 0;
    // The about box.
    virtual void showAbout() = 0;
};

}  // namespace quillet
