#include "app/editor.h"

#include "model/edit_operations.h"
#include "model/line_format.h"
#include "model/translated.h"
#include "model/utf8.h"

namespace quillet {

namespace {
// What the text line can hold of a text: it ends at a unit 0, and an unpaired surrogate, which
// no text field keeps, shows as U+FFFD.
std::u16string shownInTextLine(std::u16string_view units)
{
    std::u16string field = fieldUnits(units);
    std::u16string shown;
    Utf16Walk walk(field);
    while (auto piece = walk.next()) appendUnits(shown, piece->loneSurrogate ? 0xFFFD : piece->codePoint);
    return shown;
}
}  // namespace

void Editor::textLineEdited(const std::u16string& text, bool cutAtLimit)
{
    if (!cutAtLimit) {
        setTextLine(text);
        return;
    }
    // The counter follows the message, which ends at its one full stop.
    state_.messagePanel = translatedPlural("The paste was cut to the line's limit of %n characters.",
                                           "The paste was cut to the line's limit of %n characters.",
                                           state_.textLineMaxLength);
    state_.textLine = text;
    updateCharacterCounter();
}

bool Editor::lineHoldsTyping() const
{
    return state_.textStripVisible && state_.textLine != filledLine_;
}

bool Editor::settleTyping()
{
    if (!lineHoldsTyping()) return true;
    switch (prompts_.askApplyTyping(typingQuestion())) {
    case TypingChoice::Apply:
        applyTextLine();
        return !lineHoldsTyping();  // a refused apply keeps the typing, and the person where they were
    case TypingChoice::Discard: discardTyping(); return true;
    case TypingChoice::Cancel: return false;
    }
    return false;
}

void Editor::discardTyping()
{
    setTextLine(filledLine_);
    ++state_.textLineFills;
}

std::string Editor::typingQuestion() const
{
    const Segment* segment = currentSegment();
    if (state_.forceMode || !segment)
        return translated("The text typed for the selected bytes was not applied.\nApply it now?");
    std::string line = document_.segmentLine(*state_.selectedSegment);
    return filled(translated("The text typed for block %1 was not applied.\nApply it now?"),
                  {line.substr(0, line.find(' '))});
}

void Editor::followChangeInTextLine()
{
    const Segment* segment = currentSegment();
    if (!segment || !segment->isUnicode() || state_.forceMode || lineHoldsTyping()) return;
    fillTextLine(unitsOf(segment->data, segment->data.size()));
}

// The character counter in the message panel; a message ending in "." keeps its text up to there.
// Characters are counted in UTF-16 units, as a block's count byte counts them.
void Editor::updateCharacterCounter()
{
    std::string counter = translatedPlural("Already entered %n char(s)", "Already entered %n char(s)",
                                           state_.textLine.size());
    std::size_t dot = state_.messagePanel.find('.');
    if (dot != std::string::npos)
        state_.messagePanel = state_.messagePanel.substr(0, dot) + ". " + counter;
    else
        state_.messagePanel = counter;
}

void Editor::fillTextLine(const std::u16string& units)
{
    std::u16string text = shownInTextLine(units);
    filledLine_ = text;
    filledLineExact_ = text == units;
    ++state_.textLineFills;
    setTextLine(text);
}

// Applying a line the person did not touch must not change units that the line cannot hold.
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
    // A line the person left as the program filled it may not hold the block exactly (a unit 0,
    // an unpaired surrogate): the block then keeps its own units.
    const Segment& block = document_.segments[s];
    std::u16string units = lineUnchangedButInexact() ? unitsOf(block.data, block.data.size()) : state_.textLine;
    if (!editDocument([&] { return applyUnicodeText(document_, s, units); })) return;
    showSelectedSegment();
}

}  // namespace quillet
