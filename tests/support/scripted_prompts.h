#pragma once
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/prompts.h"

namespace quillet::test {

// A Prompts that records every question and message and answers from queues. An empty answer
// queue answers No / Cancel.
class ScriptedPrompts : public Prompts {
public:
    struct Asked {
        MessageKind kind;
        std::string caption;
        std::string text;
    };

    std::deque<bool> answers;
    std::deque<SaveChoice> saveChoices;
    std::deque<bool> reloadAnswers;  // empty: Keep editing
    std::deque<TypingChoice> typingChoices;
    std::deque<std::optional<std::string>> openNames;
    std::deque<std::optional<std::string>> saveNames;
    std::deque<std::optional<std::string>> textsNames;
    // The kind every texts dialog ends on (nothing: all files), and the kinds each offered.
    std::optional<std::size_t> textsKindChosen = 0;
    std::vector<std::vector<FileKind>> textsKindsOffered;
    // Each entry edits the dialog's fields and says whether it closed with OK.
    std::deque<std::pair<FindFields, bool>> findDialogs;
    std::deque<std::pair<ReplaceFields, bool>> replaceDialogs;

    std::vector<Asked> questions;
    std::vector<Asked> messages;
    std::vector<std::string> saveChangesAsked;
    std::vector<std::string> reloadAsked;
    std::vector<std::string> typingAsked;
    std::vector<std::string> openStartFolders;  // the folder each open dialog started in
    std::vector<std::string> saveSuggestions;   // the name each save dialog offered
    std::vector<std::string> longWork;          // the titles of the long work run
    // Long work is cancelled at its report number `cancelAtReport` (from 1), when set.
    std::optional<int> cancelAtReport;
    std::optional<std::string> clipboard;
    int aboutShown = 0;
    int findDialogShown = 0;
    int replaceDialogShown = 0;

    bool askYesNo(MessageKind kind, const std::string& caption, const std::string& text) override
    {
        questions.push_back({kind, caption, text});
        if (answers.empty()) return false;
        bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void showMessage(MessageKind kind, const std::string& caption, const std::string& text) override
    {
        messages.push_back({kind, caption, text});
    }
    SaveChoice askSaveChanges(const std::string& text) override
    {
        saveChangesAsked.push_back(text);
        if (saveChoices.empty()) return SaveChoice::Cancel;
        SaveChoice choice = saveChoices.front();
        saveChoices.pop_front();
        return choice;
    }
    bool askReloadChangedFile(const std::string& text) override
    {
        reloadAsked.push_back(text);
        if (reloadAnswers.empty()) return false;
        bool reload = reloadAnswers.front();
        reloadAnswers.pop_front();
        return reload;
    }
    TypingChoice askApplyTyping(const std::string& text) override
    {
        typingAsked.push_back(text);
        if (typingChoices.empty()) return TypingChoice::Cancel;
        TypingChoice choice = typingChoices.front();
        typingChoices.pop_front();
        return choice;
    }
    std::optional<std::string> askOpenFileName(const std::string& startFolder) override
    {
        openStartFolders.push_back(startFolder);
        return take(openNames);
    }
    std::optional<std::string> askSaveFileName(const std::string& suggestedName) override
    {
        saveSuggestions.push_back(suggestedName);
        return take(saveNames);
    }
    std::optional<ChosenFile> askTextsFileName(TextsFileUse, const std::string&,
                                               const std::vector<FileKind>& kinds) override
    {
        textsKindsOffered.push_back(kinds);
        std::optional<std::string> name = take(textsNames);
        if (!name) return std::nullopt;
        return ChosenFile{*name, textsKindChosen};
    }
    void runLongWork(const std::string& title, const std::function<void(Progress&)>& work) override
    {
        longWork.push_back(title);
        CancellingProgress progress(cancelAtReport);
        work(progress);
    }
    void setClipboardText(const std::string& text) override { clipboard = text; }
    bool showFindDialog(FindFields& fields) override
    {
        ++findDialogShown;
        if (findDialogs.empty()) return false;
        auto [edited, ok] = findDialogs.front();
        findDialogs.pop_front();
        fields = edited;
        return ok;
    }
    bool showReplaceDialog(ReplaceFields& fields) override
    {
        ++replaceDialogShown;
        if (replaceDialogs.empty()) return false;
        auto [edited, ok] = replaceDialogs.front();
        replaceDialogs.pop_front();
        fields = edited;
        return ok;
    }
    void showAbout() override { ++aboutShown; }

private:
    class CancellingProgress : public Progress {
    public:
        explicit CancellingProgress(std::optional<int> at) : at_(at) {}
        bool report(std::uint64_t, std::uint64_t) override { return !at_ || ++reports_ < *at_; }

    private:
        std::optional<int> at_;
        int reports_ = 0;
    };

    static std::optional<std::string> take(std::deque<std::optional<std::string>>& queue)
    {
        if (queue.empty()) return std::nullopt;
        auto name = queue.front();
        queue.pop_front();
        return name;
    }
};

}  // namespace quillet::test
