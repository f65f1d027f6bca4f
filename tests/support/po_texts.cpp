#include "support/po_texts.h"

#include <gtest/gtest.h>
#include <sstream>

namespace quillet::test {

std::string filledPo(const std::string& po)
{
    std::istringstream in(po);
    std::string line;
    std::string out;
    std::vector<std::string> msgid;  // the lines of the msgid before the coming msgstr
    while (std::getline(in, line)) {
        if (line.rfind("msgid ", 0) == 0)
            msgid = {line};
        else if (!msgid.empty() && line.rfind('"', 0) == 0)
            msgid.push_back(line);
        if (line == "msgstr \"\"" && !msgid.empty()) {
            out += "msgstr" + msgid[0].substr(5) + "\n";
            for (std::size_t i = 1; i < msgid.size(); ++i) out += msgid[i] + "\n";
            msgid.clear();
            continue;
        }
        out += line + "\n";
    }
    return out;
}

void expectEveryNonEmptyText(const Result<TextChanges>& changes, const std::vector<BlockText>& blocks,
                             const TextTransform& transform)
{
    ASSERT_TRUE(changes) << changes.failure().line << ": " << changes.failure().reason;
    std::vector<TextChange> expected;
    for (const BlockText& block : blocks)
        if (!block.units.empty()) expected.push_back({block.segmentNumber, transform(block.units)});
    ASSERT_EQ(changes->size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ((*changes)[i].segmentNumber, expected[i].segmentNumber);
        EXPECT_EQ((*changes)[i].units, expected[i].units) << "segment " << expected[i].segmentNumber;
    }
}

}  // namespace quillet::test
