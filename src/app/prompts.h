#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/progress.h"
#include "search/search_fields.h"

namespace quillet {

enum class MessageKind { Warning, Confirmation, Information, Error };
enum class SaveChoice { Save, Discard, Cancel };
enum class TypingChoice { Apply, Discard, Cancel };
enum class TextsFileUse { Export, Import };

// A kind of file a file dialog offers: "gettext PO files" with ".po" and ".pot".
struct FileKind {
    std::string description;
    std::vector<std::string> extensions;  // with their dots
};

// The file a dialog gave, and the kind the person had chosen (nothing: all files).
struct ChosenFile {
    std::string name;
    std::optional<std::size_t> kind;
};

// Everything the editor asks of or tells the person. Texts are UTF-8; file names are as the
// file system spells them. The window implements it with real message boxes, file dialogs and
// the clipboard; tests with a script.
class Prompts {
public:
    virtual ~Prompts() = default;
    // A question with the buttons Yes and No; Yes is the default and Escape answers No.
    virtual bool askYesNo(MessageKind kind, const std::string& caption, const std::string& text) = 0;
    // "Save changes to NAME?" with Save, Discard and Cancel.
    virtual SaveChoice askSaveChanges(const std::string& text) = 0;
    // "NAME was changed on disk by another program" and what that means, with the buttons Reload
    // and Keep editing; Escape keeps editing. True for Reload.
    virtual bool askReloadChangedFile(const std::string& text) = 0;
    // Text typed in the text line and not applied, about to be dropped: "Apply", "Discard" or
    // "Cancel"; Apply is the default and Escape answers Cancel.
    virtual TypingChoice askApplyTyping(const std::string& text) = 0;
    // A message box with one OK button.
    virtual void showMessage(MessageKind kind, const std::string& caption, const std::string& text) = 0;
    // The file dialog starts in `startFolder`; where it would by itself when that is empty.
    virtual std::optional<std::string> askOpenFileName(const std::string& startFolder) = 0;
    // Offers `suggestedName`; ".rsc" is the default extension. Replacing a file is asked by the
    // editor, not by the dialog.
    virtual std::optional<std::string> askSaveFileName(const std::string& suggestedName) = 0;
    // A translators' file to write or to read. The dialog offers `kinds` in this order, the first
    // chosen at the start, and then all files.
    virtual std::optional<ChosenFile> askTextsFileName(TextsFileUse use, const std::string& suggestedName,
                                                       const std::vector<FileKind>& kinds) = 0;
    virtual void setClipboardText(const std::string& text) = 0;
    // The modal find and replace dialogs: they show the fields, let the person edit them, write
    // them back (also on Cancel) and return true only for OK.
    virtual bool showFindDialog(FindFields& fields) = 0;
    virtual bool showReplaceDialog(ReplaceFields& fields) = 0;
    virtual void showAbout() = 0;
    // Runs long work; after about half a second a progress box appears, with Cancel. The work
    // throws WorkCancelled when cancelled.
    virtual void runLongWork(const std::string& title, const std::function<void(Progress&)>& work) = 0;
};

}  // namespace quillet
