#pragma once
#include <string>

namespace quillet::test {

// Writes the text as a file's whole content.
void writeText(const std::string& path, const std::string& text);
// What reading the whole file gives: its text, or the error the person would see.
std::string readOutcome(const std::string& path);
// Saves the text through the program's file writer: "saved", or the error the person would see.
std::string saveOutcome(const std::string& path, const std::string& text = "new text");

}  // namespace quillet::test
