#include "app/editor.h"

#include "model/edit_operations.h"
#include "model/line_format.h"

namespace quillet {

void Editor::textLineEdited(const std::string& text)
{
    setTextLine(text);
}

// The character counter in status panel 1; a message ending in "." keeps its text up to there.
void Editor::updateCharacterCounter()
{
    std::string counter = "Already entered " + std::to_string(state_.textLine.size()) + " char(s)";
    std::size_t dot = state_.messagePanel.find('.');
    if (dot != std::string::npos)
        state_.messagePanel = state_.messagePanel.substr(0, dot) + ". " + counter;
    else
        state_.messagePanel = counter;
}

void Editor::fillTextLine(const std::vector<std::uint16_t>& units)
{
    std::string text = fieldText(units, codePage_);
    filledLine_ = text;
    setTextLine(text);
    filledLineExact_ = lineUnits() == units;
}

std::vector<std::uint16_t> Editor::lineUnits() const
{
    std::vector<std::uint16_t> units;
    units.reserve(state_.textLine.size());
    for (char ch : state_.textLine) units.push_back(codePage_.toUnit(static_cast<std::uint8_t>(ch)));
    return units;
}

// Applying a line the person did not touch must not change bytes that the line cannot show.
bool Editor::lineUnchangedButInexact() const
{
    return !filledLineExact_ && state_.textLine == filledLine_;
}

void Editor::applyTextLine()
{
    if (!currentSegment()) return;
    std::size_t s = *state_.selectedSegment;
    if (state_.forceMode)
        forceApply(s);
    else if (currentSegment()->isUnicode())
        unicodeApply(s);
}

void Editor::unicodeApply(std::size_t s)
{
    // A line the person left as the program filled it may not show the block exactly (a unit 0,
    // a unit the code page lacks, a double-byte character): the block then keeps its own units.
    const Segment& block = document_.segments[s];
    std::vector<std::uint16_t> units =
        lineUnchangedButInexact() ? unitsOf(block.data.data(), block.data.size()) : lineUnits();
    if (units.size() > MaxBlockCharacters) {
        prompts_.showMessage(MessageKind::Warning, "Warning",
                             "The text has " + std::to_string(units.size()) +
                                 " characters, a unicode block holds at most 255. Nothing was changed.");
        return;
    }
    applyUnicodeText(document_, s, units, codePage_);
    showSelectedSegment();
}

}  // namespace quillet
