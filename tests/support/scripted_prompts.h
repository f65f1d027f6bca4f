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
        MessageKind Kind;
        std::string Caption;
        std::string Text;
    };

    std::deque<bool> Answers;
    std::deque<std::optional<std::string>> OpenNames;
    std::deque<std::optional<std::string>> SaveNames;
    // Each entry edits the dialog's fields and says whether it closed with OK.
    std::deque<std::pair<FindFields, bool>> FindDialogs;
    std::deque<std::pair<ReplaceFields, bool>> ReplaceDialogs;

    std::vector<Asked> Questions;
    std::vector<Asked> Messages;
    std::optional<std::string> Clipboard;
    int AboutShown = 0;
    int FindDialogShown = 0;
    int ReplaceDialogShown = 0;

    bool askYesNo(MessageKind kind, const std::string& caption, const std::string& text) override
    {
        Questions.push_back({kind, caption, text});
        if (Answers.empty()) return false;
        bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    void showMessage(MessageKind kind, const std::string& caption, const std::string& text) override
    {
        Messages.push_back({kind, caption, text});
    }
    std::optional<std::string> askOpenFileName() override { return take(OpenNames); }
    std::optional<std::string> askSaveFileName() override { return take(SaveNames); }
    void setClipboardText(const std::string& text) override { Clipboard = text; }
    bool showFindDialog(FindFields& fields) override
    {
        ++FindDialogShown;
        if (FindDialogs.empty()) return false;
        auto [edited, ok] = FindDialogs.front();
        FindDialogs.pop_front();
        fields = edited;
        return ok;
    }
    bool showReplaceDialog(ReplaceFields& fields) override
    {
        ++ReplaceDialogShown;
        if (ReplaceDialogs.empty()) return false;
        auto [edited, ok] = ReplaceDialogs.front();
        ReplaceDialogs.pop_front();
        fields = edited;
        return ok;
    }
    void showAbout() override { ++AboutShown; }

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
