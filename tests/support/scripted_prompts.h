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
    std::deque<std::optional<std::string>> openNames;
    std::deque<std::optional<std::string>> saveNames;
    // Each entry edits the dialog's fields and says whether it closed with OK.
    std::deque<std::pair<FindFields, bool>> findDialogs;
    std::deque<std::pair<ReplaceFields, bool>> replaceDialogs;

    std::vector<Asked> questions;
    std::vector<Asked> messages;
    std::vector<std::string> openStartFolders;
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
    std::optional<std::string> askOpenFileName(const std::string& startFolder) override
    {
        openStartFolders.push_back(startFolder);
        return take(openNames);
    }
    std::optional<std::string> askSaveFileName() override { return take(saveNames); }
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
    static std::optional<std::string> take(std::deque<std::optional<std::string>>& queue)
    {
        if (queue.empty()) return std::nullopt;
        auto name = queue.front();
        queue.pop_front();
        return name;
    }
};

}  // namespace quillet::test
