#pragma once
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/editor.h"
#include "model/codepage.h"
#include "support/byte_strings.h"
#include "support/document_lines.h"
#include "support/scripted_prompts.h"

namespace quillet::test {

// A code page the tests name by number; it exists on every machine the tests run on.
CodePage codePage(int number);
// UTF-8 as UTF-16 units, and back, for readable test texts.
std::u16string u16(const std::string& utf8);
std::string utf8(const std::u16string& units);

// An Editor with scripted prompts and the helpers the editor tests share. Its code page is 1252
// unless a test names another.
class EditorFixture : public ::testing::Test {
protected:
    explicit EditorFixture(int codePageNumber = 1252) : editor{prompts, codePage(codePageNumber)} {}

    ScriptedPrompts prompts;
    Editor editor;

    // Writes the file into the test folder and opens it, discarding the changes of the document
    // open before; returns its path.
    std::string open(const Bytes& file, const std::string& name = "document.rsc");
    // Opens a document made by the test, as though read from a file of that name.
    void open(Document document, const std::string& name = "document.rsc")
    {
        editor.openDocument(std::move(document), name);
    }
    void select(std::size_t line) { editor.selectSegment(line); }
    void dragSelect(GridCell from, GridCell to);
    void deleteCurrent(bool answer);
    // Types the line into the text line and applies it.
    void apply(const std::string& line);
    // Saves to a new file of the test folder and returns what was written.
    Bytes save();

    const WindowState& state() const { return editor.state(); }
    const Document& document() const { return editor.document(); }
    const Segment& segment(std::size_t s) const { return document().segments[s]; }
    Bytes bytesOf(std::size_t s) const;
    std::string line(std::size_t j) const { return document().segmentLine(j); }
    std::vector<std::string> lines() const;
    std::string textLine() const { return utf8(state().textLine); }
    std::vector<std::string> questionTexts() const;
    std::string lastMessage() const;
};

}  // namespace quillet::test
