#include "support/editor_fixture.h"

#include <stdexcept>

#include "model/utf8.h"

namespace quillet::test {

CodePage codePage(int number)
{
    std::optional<CodePage> found = CodePage::byName(std::to_string(number));
    if (!found) throw std::invalid_argument("no code page " + std::to_string(number));
    return *found;
}

std::u16string u16(const std::string& utf8)
{
    std::optional<std::u16string> units = unitsFromUtf8(utf8);
    if (!units) throw std::invalid_argument("not UTF-8: " + utf8);
    return *units;
}

std::string utf8(const std::u16string& units)
{
    return readableUtf8(units);
}

std::string EditorFixture::open(const Bytes& file, const std::string& name)
{
    std::string path = writeTempFile(file, name);
    if (editor.lineHoldsTyping()) prompts.typingChoices.push_back(TypingChoice::Discard);
    if (editor.isModified()) prompts.saveChoices.push_back(SaveChoice::Discard);
    editor.loadFile(path);
    return path;
}

void EditorFixture::dragSelect(GridCell from, GridCell to)
{
    editor.gridMousePress(MouseButton::Left, from);
    editor.gridMouseRelease(MouseButton::Left, to, true);
}

void EditorFixture::deleteCurrent(bool answer)
{
    prompts.answers.push_back(answer);
    editor.deleteCurrentSegment();
}

void EditorFixture::apply(const std::string& line)
{
    editor.textLineEdited(u16(line));
    editor.applyTextLine();
}

Bytes EditorFixture::save()
{
    static int saves = 0;
    std::string path = tempPath("saved-" + std::to_string(++saves) + ".rsc");
    prompts.saveNames.push_back(path);
    editor.saveFileAs();
    return readFileBytes(path);
}

Bytes EditorFixture::bytesOf(std::size_t s) const
{
    const SegmentBytes& data = segment(s).data;
    return data.copy(0, data.size());
}

std::vector<std::string> EditorFixture::lines() const
{
    return linesOf(document());
}

std::vector<std::string> EditorFixture::questionTexts() const
{
    std::vector<std::string> texts;
    for (const auto& asked : prompts.questions) texts.push_back(asked.text);
    return texts;
}

std::string EditorFixture::lastMessage() const
{
    return prompts.messages.empty() ? "" : prompts.messages.back().text;
}

}  // namespace quillet::test
