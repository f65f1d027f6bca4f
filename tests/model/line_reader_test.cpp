#include "model/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillet {
namespace {

// The lines, each with the number the reader gives it.
std::vector<std::string> linesOf(std::string_view text)
{
    std::vector<std::string> lines;
    LineReader reader(text);
    while (auto line = reader.next()) lines.push_back(std::to_string(reader.lineNumber()) + ":" + std::string(*line));
    return lines;
}

TEST(LineReader, TakesOffAByteOrderMarkAndEveryKindOfLineEnd)
{
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const std::string bom = "\xEF\xBB\xBF";
    const std::vector<Case> cases = {
        {"", {}},
        {bom, {}},
        {bom + "a\r\nb\n", {"1:a", "2:b"}},
        {"a\n\r\n\nb", {"1:a", "2:", "3:", "4:b"}},  // the last line needs no line end
        {"a\rb\r\n", {"1:a", "2:b"}},                // a CR alone ends a line too
        {"a\r\rb\r", {"1:a", "2:", "3:b"}},
        {"a\n\rb\r\n\n", {"1:a", "2:", "3:b", "4:"}},    // LF CR is two line ends
        {"a\n" + bom + "b", {"1:a", "2:" + bom + "b"}},  // a byte order mark counts only at the start
        {bom + bom, {"1:" + bom}},
    };
    for (const Case& c : cases) EXPECT_EQ(linesOf(c.text), c.lines) << testing::PrintToString(c.text);
}

}  // namespace
}  // namespace quillet
